#include "export.h"
#include "readers.h"
#include "settings.h"
#include "window_test.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

using Exporter = std::function<ExportResult(std::span<const Coords>, std::span<const Colour>)>;
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Exporter)

namespace {

// Three columns and two rows of pixels at depths 0 and 4, and one point with a NaN depth.
Model sampleModel()
{
    return {{{0, 0, 0}, {0, 1, 0}, {4, 2, 0}, {0, 0, 1}, {4, 1, 1}, {0, 2, 1}, {NAN, 5, 5}},
            {0x0000FF, 0x0000FF, 0xFF0000, 0x00FF00, 0xFF0000, 0x0000FF, 0x0000FF}};
}

} // namespace

// The export submenu: its dialogs, remembered options and files.
class TestExportMenu : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;

    QString path(const QString &name) const { return dir_->filePath(name); }

private slots:
    void init()
    {
        clearSettings();
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(dir_->path()));
    }

    // Every kind through the menu and its dialogs, named after the model: the export library's
    // file for the options chosen (tests/export reads those back), or for a 3MF its objects;
    // a message counts the point left out.
    void exportThroughMenu_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Step>("options"); // none for a kind without options
        QTest::addColumn<Exporter>("library"); // none: a 3MF, whose objects are counted
        const Step ok = [](QDialog *dialog) { dialog->accept(); };
        QTest::newRow("PLY, binary")
            << "ply" << ok << Exporter([](auto p, auto c) { return exportPly(p, c, {}); });
        QTest::newRow("PLY, ASCII") << "ply" << Step([](QDialog *dialog) {
            child<QRadioButton>(dialog, "ascii")->click();
            dialog->accept();
        }) << Exporter([](auto p, auto c) { return exportPly(p, c, {.ply = {true}}); });
        QTest::newRow("XYZ") << "xyz" << Step()
                             << Exporter([](auto p, auto c) { return exportXyz(p, c, {}); });
        QTest::newRow("glb") << "glb" << Step()
                             << Exporter([](auto p, auto c) { return exportGlb(p, c, {}); });
        QTest::newRow("STL, 0.5 mm pixels") << "stl" << Step([](QDialog *dialog) {
            child<QDoubleSpinBox>(dialog, "pixelSize")->setValue(0.5);
            QCOMPARE(text(dialog, "counts"), "座標が有限でない点: 1 個"); // only counts above 0
            dialog->accept();
        }) << Exporter([](auto p, auto c) {
            return exportStl(p, c, {.solid = {.pixelSize = 0.5}});
        });
        QTest::newRow("3MF, 2 colours") << "3mf" << Step([](QDialog *dialog) {
            child<QSpinBox>(dialog, "colourGroups")->setValue(2);
            dialog->accept();
        }) << Exporter();
    }
    void exportThroughMenu()
    {
        QFETCH(QString, kind);
        QFETCH(Step, options);
        QFETCH(Exporter, library);
        const Model model = sampleModel();
        QVERIFY(ModelFile::save(model, path("part.chs").toStdString()).ok());
        Program program;
        program.window.openModelFile(path("part.chs"));
        MessageBoxes boxes;
        std::vector<Step> steps = {[&](QDialog *dialog) {
            QCOMPARE(qobject_cast<QFileDialog *>(dialog)->selectedFiles().value(0),
                     path("part." + kind));
            qtSaveAs("relief")(dialog); // the extension comes from the kind
        }};
        if (options)
            steps.push_back(options);
        const QString action = "export" + kind.left(1).toUpper() + kind.mid(1) + "Action";
        QCOMPARE(stepThrough([&] { trigger(&program.window, qPrintable(action)); }, steps),
                 int(steps.size()));
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].text.contains(" 1 個は書き出していません"));
        if (library) {
            const ExportResult expected = library(model.points, model.colours);
            QCOMPARE(contents(path("relief." + kind)), asBytes(expected.bytes));
            return;
        }
        const ReadBack read = readBack(kind, path("relief." + kind));
        REQUIRE_READ(read);
        QCOMPARE(read.seen["objects"].toInt(), 4); // two colours, the plate and their assembly
    }

    // The options chosen last come back in a new program's dialogs, the solids sharing
    // theirs; cancelled options are not kept and write nothing.
    void optionsRemembered()
    {
        int runs = 0; // each to a new file: no question about replacing one
        MessageBoxes boxes;
        const auto run = [&](const char *action, const Step &options) {
            Program program;
            program.document.importModel(sampleModel());
            return stepThrough([&] { trigger(&program.window, action); },
                               {qtSaveAs(path(QString::number(++runs))), options});
        };
        run("exportPlyAction", [](QDialog *dialog) {
            child<QRadioButton>(dialog, "ascii")->click();
            dialog->accept();
        });
        run("export3mfAction", [](QDialog *dialog) {
            for (const char *name : {"pixelSize", "depthScale", "inkHeight", "baseThickness"})
                child<QDoubleSpinBox>(dialog, name)->setValue(0.4);
            child<QCheckBox>(dialog, "reverse")->click();
            child<QSpinBox>(dialog, "colourGroups")->setValue(3);
            dialog->accept();
        });
        run("exportStlAction", [](QDialog *dialog) {
            child<QDoubleSpinBox>(dialog, "pixelSize")->setValue(9);
            dialog->reject();
        });
        QVERIFY(!QFile::exists(path("3.stl")));
        QStringList seen;
        const auto look = [&](QDialog *dialog) {
            for (QWidget *field : dialog->findChildren<QWidget *>()) {
                if (auto *length = qobject_cast<QDoubleSpinBox *>(field))
                    seen << QString::number(length->value());
                else if (auto *count = qobject_cast<QSpinBox *>(field))
                    seen << QString::number(count->value());
                else if (auto *box = qobject_cast<QAbstractButton *>(field);
                         box && box->isCheckable())
                    seen << field->objectName() + "=" + QString::number(box->isChecked());
            }
        };
        for (const char *action : {"exportPlyAction", "export3mfAction", "exportStlAction"})
            QCOMPARE(run(action, look), 2);
        QCOMPARE(seen.join(' '), "binary=0 ascii=1 0.4 0.4 0.4 0.4 reverse=1 3 "
                                 "0.4 0.4 0.4 0.4 reverse=1");
    }

    // A model that no setting can make a relief of is told so in the user's language, and its
    // options cannot be taken.
    void modelThatCannotBeASolid()
    {
        Program program;
        program.document.importModel({{{0, 0, 0}, {0, 3000, 0}}, {0, 0}});
        stepThrough([&] { trigger(&program.window, "exportStlAction"); },
                    {qtSaveAs(path("wide")), [](QDialog *dialog) {
                         QCOMPARE(text(dialog, "size"), "このモデルの点は 2000 ピクセルを超えて"
                                                        "広がっているため、書き出せません。");
                         auto *buttons = dialog->findChild<QDialogButtonBox *>();
                         QVERIFY(!buttons->button(QDialogButtonBox::Ok)->isEnabled());
                         QVERIFY(child(dialog, "counts")->isHidden()); // every count 0
                     }});
        QVERIFY(!QFile::exists(path("wide.stl")));
    }

    // A hand-edited settings file: what is not a number gives the default, not the
    // smallest value the dialog allows.
    void garbledSettingsGiveDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("pixel size with a decimal comma") << "export/pixelSize"
                                                         << "0,5";
        QTest::newRow("ink height as a word") << "export/inkHeight"
                                              << "abc";
        QTest::newRow("colour groups as a word") << "export/colourGroups"
                                                 << "abc";
        QTest::newRow("turntable size as a word") << "turntable/size"
                                                  << "large";
    }
    void garbledSettingsGiveDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        const auto remembered = [] {
            const SolidOptions solid = load<Remembered::Solid>();
            return std::vector<double> {solid.pixelSize, solid.inkHeight,
                                        double(solid.colourGroups),
                                        double(load<Remembered::Turntable>().size)};
        };
        const std::vector<double> defaults = remembered();
        settingsFile().setValue(key, value);
        QCOMPARE(remembered(), defaults);
    }

    // A file that cannot be written is told with its name and the reason, and nothing is
    // left behind; an older file kept whole: tst_file_safety::fullDiskReported.
    void failedWriteTold()
    {
        Program program;
        program.document.importModel(sampleModel());
        MessageBoxes boxes;
        stepThrough([&] { trigger(&program.window, "exportXyzAction"); },
                    {qtSaveAs(path("no/such.xyz"))});
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text,
                 QString("ファイル %1 に書き込めません。\n%2")
                     .arg(path("no/such.xyz"), "ファイルまたはフォルダーが見つかりません。"));
        QCOMPARE(entries(path(".")), QStringList());
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestExportMenu)
#include "tst_export_menu.moc"
