#include "export.h"
#include "readers.h"
#include "settings.h"
#include "window_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

using Exporter = std::function<ExportResult(std::span<const Coords>, std::span<const Colour>)>;
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Exporter)
Q_DECLARE_METATYPE(Model)

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
    // file for the options chosen, byte for byte (tests/export reads those back); a message
    // counts the point left out.
    void exportThroughMenu_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Step>("options"); // none for a kind without options
        QTest::addColumn<Exporter>("library");
        const Step ok = [](QDialog *dialog) { dialog->accept(); };
        QTest::newRow("PLY, binary")
            << "ply" << ok << Exporter([](auto p, auto c) { return exportPly(p, c, {}); });
        QTest::newRow("PLY, ASCII") << "ply" << Step([](QDialog *dialog) {
            child<QRadioButton>(dialog, "ascii")->click();
            dialog->accept();
        }) << Exporter([](auto p, auto c) { return exportPly(p, c, {.ply = {true}}); });
        QTest::newRow("XYZ") << "xyz" << Step()
                             << Exporter([](auto p, auto c) { return exportXyz(p, c, {}); });
        QTest::newRow("glb, 0.1 mm pixels") << "glb" << Step([](QDialog *dialog) {
            child<QDoubleSpinBox>(dialog, "pixelSize")->setValue(0.1);
            dialog->accept();
        }) << Exporter([](auto p, auto c) {
            return exportGlb(p, c, {.solid = {.pixelSize = 0.1}});
        });
        QTest::newRow("STL, 0.5 mm pixels") << "stl" << Step([](QDialog *dialog) {
            child<QDoubleSpinBox>(dialog, "pixelSize")->setValue(0.5);
            QCOMPARE(text(dialog, "counts"), "座標が有限でない点: 1 個"); // only counts above 0
            dialog->accept();
        }) << Exporter([](auto p, auto c) {
            return exportStl(p, c, {.solid = {.pixelSize = 0.5}});
        });
        QTest::newRow("3MF, 2 colours for Cura") << "3mf" << Step([](QDialog *dialog) {
            child<QSpinBox>(dialog, "colourGroups")->setValue(2);
            child<QComboBox>(dialog, "slicer")->setCurrentIndex(int(Slicer::Cura));
            dialog->accept();
        }) << Exporter([](auto p, auto c) {
            return export3mf(p, c, {.solid = {.colourGroups = 2, .slicer = Slicer::Cura}});
        });
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
        }
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
            child<QDoubleSpinBox>(dialog, "nozzle")->setValue(0.6);
            child<QSpinBox>(dialog, "thicken")->setValue(2);
            child<QSpinBox>(dialog, "colourGroups")->setValue(3);
            child<QComboBox>(dialog, "slicer")->setCurrentIndex(int(Slicer::Bambu));
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
                else if (auto *list = qobject_cast<QComboBox *>(field))
                    seen << field->objectName() + "=" + QString::number(list->currentIndex());
                else if (auto *box = qobject_cast<QAbstractButton *>(field);
                         box && box->isCheckable())
                    seen << field->objectName() + "=" + QString::number(box->isChecked());
            }
        };
        for (const char *action : {"exportPlyAction", "export3mfAction", "exportStlAction"})
            QCOMPARE(run(action, look), 2);
        QCOMPARE(seen.join(' '), "binary=0 ascii=1 0.4 0.4 0.4 0.4 reverse=1 0.6 2 3 slicer=1 "
                                 "0.4 0.4 0.4 0.4 reverse=1 0.6 2");
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

    // The findings follow the options; the warning shows for lines thinner than the nozzle
    // or columns more than 8 times taller than their line is wide. Lines a pixel wide, one
    // 45 in front: 11.85 mm walls 0.25 mm wide; thickened by 1, 0.75 mm wide, still too tall.
    void printWarning_data()
    {
        QTest::addColumn<Model>("model");
        QTest::addColumn<int>("thicken");
        QTest::addColumn<QString>("findings");
        QTest::addColumn<bool>("warned");
        Model lines, block;
        for (int j = 0; j < 8; ++j) {
            lines.points.insert(lines.points.end(), {{0, 0, double(j)}, {45, 5, double(j)}});
            lines.colours.insert(lines.colours.end(), {0, 0});
            for (int i = 0; i < 4; ++i) {
                block.points.push_back({0, double(i), double(j)});
                block.colours.push_back(0);
            }
        }
        QTest::newRow("lines, one 45 deep")
            << lines << 0 << "線の柱: 16 本　柱の高さと線の幅の比の最大: 47.4" << true;
        QTest::newRow("the lines thickened by 1")
            << lines << 1 << "線の柱: 0 本　柱の高さと線の幅の比の最大: 15.8" << true;
        QTest::newRow("a flat block")
            << block << 0 << "線の柱: 0 本　柱の高さと線の幅の比の最大: 0.6" << false;
    }
    void printWarning()
    {
        QFETCH(Model, model);
        QFETCH(int, thicken);
        QFETCH(QString, findings);
        QFETCH(bool, warned);
        Program program;
        program.document.importModel(model);
        stepThrough([&] { trigger(&program.window, "export3mfAction"); },
                    {qtSaveAs(path("relief")), [&](QDialog *dialog) {
                         child<QSpinBox>(dialog, "thicken")->setValue(thicken);
                         QVERIFY2(text(dialog, "findings").endsWith(findings),
                                  qPrintable(text(dialog, "findings")));
                         QCOMPARE(dialog->findChild<QLabel *>("warning")->isVisibleTo(dialog),
                                  warned);
                         dialog->reject();
                     }});
    }

    // A hand-edited settings file: what is not a number, or no choice of a list, gives the
    // default, not the smallest value the dialog allows.
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
        QTest::newRow("a slicer past the list") << "export/slicer"
                                                << "9";
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
                                        double(solid.colourGroups), double(solid.slicer),
                                        double(load<Remembered::Turntable>().size)};
        };
        const std::vector<double> defaults = remembered();
        settingsFile().setValue(key, value);
        QCOMPARE(remembered(), defaults);
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestExportMenu)
#include "tst_export_menu.moc"
