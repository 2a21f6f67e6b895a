#include "export.h"
#include "readers.h"
#include "window_test.h"

#include <optional>

#include <QDialogButtonBox>

using Exporter = std::function<ExportResult(std::span<const Coords>, std::span<const Colour>)>;
Q_DECLARE_METATYPE(Exporter)
Q_DECLARE_METATYPE(Model)

namespace {

// Three columns and two rows of pixels at depths 0 and 4, and one point with a NaN depth.
Model sampleModel()
{
    return {{{0, 0, 0}, {0, 1, 0}, {4, 2, 0}, {0, 0, 1}, {4, 1, 1}, {0, 2, 1}, {NAN, 5, 5}},
            {0x0000FF, 0x0000FF, 0xFF0000, 0x00FF00, 0xFF0000, 0x0000FF, 0x0000FF}};
}

// A program over `model` whose `action` is run through `steps`; the steps run.
int exportWith(const Model &model, const char *action, const std::vector<Step> &steps)
{
    Program program;
    program.document.importModel(model);
    return stepThrough([&] { trigger(&program.window, action); }, steps);
}

} // namespace

// The export submenu: its dialogs, remembered options and files.
class TestExportMenu : public QObject {
    Q_OBJECT
    std::optional<InFolder> dir_;

    QString path(const QString &name) const { return dir_->path(name); }

private slots:
    void init()
    {
        clearSettings();
        dir_.emplace();
    }

    // Every kind through the menu and its dialogs, named after the model: the export library's
    // file for the options chosen, byte for byte (tests/export reads those back); a message
    // counts the point left out.
    void exportThroughMenu_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fields"); // "-": no options dialog
        QTest::addColumn<Exporter>("library");
        QTest::newRow("PLY, binary")
            << "ply"
            << "" << Exporter([](auto p, auto c) { return exportPly(p, c, {}); });
        QTest::newRow("PLY, ASCII")
            << "ply"
            << "ascii=1"
            << Exporter([](auto p, auto c) { return exportPly(p, c, {.ply = {true}}); });
        QTest::newRow("XYZ") << "xyz"
                             << "-" << Exporter([](auto p, auto c) { return exportXyz(p, c, {}); });
        QTest::newRow("glb, 0.1 mm pixels")
            << "glb"
            << "pixelSize=0.1" << Exporter([](auto p, auto c) {
                   return exportGlb(p, c, {.solid = {.pixelSize = 0.1}});
               });
        QTest::newRow("STL, 0.5 mm pixels")
            << "stl"
            << "pixelSize=0.5" << Exporter([](auto p, auto c) {
                   return exportStl(p, c, {.solid = {.pixelSize = 0.5}});
               });
        QTest::newRow("3MF, 2 colours for Cura")
            << "3mf"
            << "colourGroups=2 slicer=2" << Exporter([](auto p, auto c) {
                   return export3mf(p, c, {.solid = {.colourGroups = 2, .slicer = Slicer::Cura}});
               });
    }
    void exportThroughMenu()
    {
        QFETCH(QString, kind);
        QFETCH(QString, fields);
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
        if (fields != "-")
            steps.push_back([&](QDialog *dialog) {
                if (kind == "stl") // only counts above 0
                    QCOMPARE(text(dialog, "counts"), "座標が有限でない点: 1 個");
                options(fields)(dialog);
            });
        const QString action = "export" + kind.left(1).toUpper() + kind.mid(1) + "Action";
        QCOMPARE(stepThrough([&] { trigger(&program.window, qPrintable(action)); }, steps),
                 int(steps.size()));
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text,
                 "座標が有限でない点、または範囲を超える点 1 個は書き出していません。");
        QCOMPARE(contents(path("relief." + kind)),
                 asBytes(library(model.points, model.colours).bytes));
    }

    // The options chosen last come back in a new program's dialogs, the solids sharing
    // theirs; cancelled options are not kept and write nothing.
    void optionsRemembered()
    {
        const QString ply = "ascii=1", solid = "pixelSize=0.4 depthScale=0.4 inkHeight=0.4 "
                                               "baseThickness=0.4 reverse=1 nozzle=0.6 thicken=2";
        const QString groups = " colourGroups=3 slicer=1";
        MessageBoxes boxes; // the point left out
        const auto run = [&](const char *action, const Step &options, const QString &file) {
            return exportWith(sampleModel(), action, {qtSaveAs(path(file)), options});
        };
        run("exportPlyAction", options(ply), "1");
        run("export3mfAction", options(solid + groups), "2");
        run("exportStlAction", options("pixelSize=9", false), "3");
        QVERIFY(!QFile::exists(path("3.stl")));
        for (const auto &[action, shown] : {std::pair {"exportPlyAction", ply + " binary=0"},
                                            {"export3mfAction", solid + groups},
                                            {"exportStlAction", solid}})
            QCOMPARE(
                run(
                    action, [&](QDialog *dialog) { QCOMPARE(fields(dialog, shown), shown); }, "4"),
                2);
    }

    // A model that no setting can make a relief of is told so in the user's language, and its
    // options cannot be taken.
    void modelThatCannotBeASolid()
    {
        exportWith({{{0, 0, 0}, {0, 3000, 0}}, {0, 0}}, "exportStlAction",
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
        exportWith(model, "export3mfAction",
                   {qtSaveAs(path("relief")), [&](QDialog *dialog) {
                        fill(dialog, QString("thicken=%1").arg(thicken));
                        QVERIFY2(text(dialog, "findings").endsWith(findings),
                                 qPrintable(text(dialog, "findings")));
                        QCOMPARE(child(dialog, "warning")->isVisibleTo(dialog), warned);
                    }});
    }

    // A hand-edited settings file: what is not a number, or no choice of a list, gives the
    // default (pixels of 0.25 mm, ink 0.6 mm high, 4 colours for PrusaSlicer, turntable frames
    // of 512), not the smallest value the dialog allows.
    void garbledSettingsGiveDefaults_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::newRow("pixel size with a decimal comma") << "export/pixelSize=0,5";
        QTest::newRow("ink height as a word") << "export/inkHeight=abc";
        QTest::newRow("colour groups as a word") << "export/colourGroups=abc";
        QTest::newRow("a slicer past the list") << "export/slicer=9";
        QTest::newRow("turntable size as a word") << "turntable/size=large";
    }
    void garbledSettingsGiveDefaults()
    {
        QFETCH(QString, setting);
        const auto remembered = [] {
            const SolidOptions solid = load<Remembered::Solid>();
            return std::vector<double> {solid.pixelSize, solid.inkHeight,
                                        double(solid.colourGroups), double(solid.slicer),
                                        double(load<Remembered::Turntable>().size)};
        };
        settingsFile().setValue(setting.section('=', 0, 0), setting.section('=', 1));
        QCOMPARE(remembered(), (std::vector<double> {0.25, 0.6, 4, 0, 512}));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestExportMenu)
#include "tst_export_menu.moc"
