#include "readers.h"
#include "window_test.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cmath>
#include <sys/mount.h>
#include <unistd.h>

using Step = std::function<void(QDialog *)>;
Q_DECLARE_METATYPE(Step)

namespace {

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

// Three columns and two rows of pixels at depths 0 and 4, and one point with a NaN depth.
Model sampleModel()
{
    return {{{0, 0, 0}, {0, 1, 0}, {4, 2, 0}, {0, 0, 1}, {4, 1, 1}, {0, 2, 1}, {NAN, 5, 5}},
            {kRed, kRed, kBlue, kGreen, kBlue, kRed, kRed}};
}

// Runs each step on the next dialog that comes up while `open` runs; message boxes are
// left to MessageBoxes, and a dialog that a step leaves open is closed. Gives the steps run.
int stepThrough(const std::function<void()> &open, const std::vector<Step> &steps)
{
    std::size_t next = 0;
    QPointer<QDialog> last;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog == last || qobject_cast<QMessageBox *>(dialog))
            return;
        last = dialog;
        if (next < steps.size())
            steps[next++](dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    open();
    return int(next);
}

// Types a path into Qt's save dialog and presses Save.
Step saveAs(const QString &path)
{
    return [path](QDialog *dialog) {
        QVERIFY(qobject_cast<QFileDialog *>(dialog) && dialog->isModal());
        child<QLineEdit>(dialog, "fileNameEdit")->setText(path);
        dialog->accept();
    };
}

// How many objects the one build item of a 3MF has, as lib3mf reads it; -1 on a warning.
int threeMfObjects(QByteArray bytes)
{
    using namespace NMR;
    PLib3MFBase *model = nullptr, *reader = nullptr, *items = nullptr, *item = nullptr,
                *assembly = nullptr;
    BOOL more = false;
    DWORD warnings = 1, objects = 0;
    lib3mf_createmodel(&model);
    lib3mf_model_queryreader(model, "3mf", &reader);
    const bool read = lib3mf_reader_readfrombuffer(reader, reinterpret_cast<BYTE *>(bytes.data()),
                                                   ULONG64(bytes.size()))
                          == LIB3MF_OK
                      && lib3mf_reader_getwarningcount(reader, &warnings) == LIB3MF_OK
                      && lib3mf_model_getbuilditems(model, &items) == LIB3MF_OK
                      && lib3mf_builditemiterator_movenext(items, &more) == LIB3MF_OK && more
                      && lib3mf_builditemiterator_getcurrent(items, &item) == LIB3MF_OK
                      && lib3mf_builditem_getobjectresource(item, &assembly) == LIB3MF_OK
                      && lib3mf_componentsobject_getcomponentcount(assembly, &objects) == LIB3MF_OK;
    for (PLib3MFBase *object : {assembly, item, items, reader, model})
        if (object)
            lib3mf_release(object);
    return read && warnings == 0 ? int(objects) : -1;
}

// Makes a folder read-only after `fill`: by a read-only file system mounted on it as root,
// whom permissions do not stop, by its permissions otherwise. False if it cannot.
bool makeReadOnly(const QString &folder, const std::function<void()> &fill)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::geteuid() != 0) {
        fill();
        return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    if (::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") != 0)
        return false;
    fill();
    if (::mount("tmpfs", path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0)
        return true;
    ::umount2(path.constData(), MNT_DETACH);
    return false;
}

} // namespace

// The export submenu of the main window: its commands, dialogs, remembered options and files.
class TestExportMenu : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;

    QString path(const QString &name) const { return dir_->filePath(name); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QSettings("zuvorak", "zuvorak").clear();
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(dir_->path()));
    }

    // Only a model with points can be exported; the submenu sits before 終了.
    void submenuFollowsPoints()
    {
        Program program;
        auto *menu = child<QMenu>(&program.window, "exportMenu");
        const QList<QAction *> file = program.window.menuBar()->actions()[0]->menu()->actions();
        const qsizetype at = file.indexOf(menu->menuAction());
        QVERIFY(at > 0 && file[at - 1] == child<QAction>(&program.window, "saveBitmapAction")
                && file[at + 1] == child<QAction>(&program.window, "exitAction"));
        const auto enabled = [&] { // the commands enabled, negative while the submenu is not
            int count = 0;
            for (QAction *action : menu->actions())
                count += !action->isSeparator() && action->isEnabled();
            return menu->menuAction()->isEnabled() ? count : -count;
        };
        QCOMPARE(enabled(), 0);
        program.document.importModel({}); // a model, but no points
        QCOMPARE(enabled(), 0);
        program.document.importModel(sampleModel());
        QCOMPARE(enabled(), 6); // five kinds of file and the turntable
        program.document.history()->undo();
        QCOMPARE(enabled(), 0);
    }

    // Every kind through the menu and its dialogs, named after the model; an independent
    // reader sees the model's finite points, and a message counts the one left out.
    void exportThroughMenu_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Step>("options"); // none for a kind without options
        const Step ok = [](QDialog *dialog) { dialog->accept(); };
        QTest::newRow("PLY, binary") << "exportPlyAction"
                                     << "ply" << ok;
        QTest::newRow("PLY, ASCII") << "exportPlyAction"
                                    << "ply" << Step([](QDialog *dialog) {
                                           child<QRadioButton>(dialog, "ascii")->click();
                                           dialog->accept();
                                       });
        QTest::newRow("XYZ") << "exportXyzAction"
                             << "xyz" << Step();
        QTest::newRow("glb") << "exportGlbAction"
                             << "glb" << Step();
        QTest::newRow("STL, 0.5 mm pixels")
            << "exportStlAction"
            << "stl" << Step([](QDialog *d) {
                   child<QDoubleSpinBox>(d, "pixelSize")->setValue(0.5);
                   QCOMPARE(text(d, "size"), "大きさ: 横 1.50 mm × 縦 1.00 mm × 高さ 2.60 mm");
                   QCOMPARE(
                       text(d, "counts"),
                       "格子に合わせた点: 0 個　重なって省いた点: 0 個　座標が有限でない点: 1 個");
                   d->accept();
               });
        QTest::newRow("3MF, 2 colours") << "export3mfAction"
                                        << "3mf" << Step([](QDialog *d) {
                                               auto *groups = child<QListWidget>(d, "groups");
                                               QCOMPARE(groups->count(), 3);
                                               QCOMPARE(groups->item(0)->text(), "#FF0000  3 点");
                                               child<QSpinBox>(d, "colourGroups")->setValue(2);
                                               QCOMPARE(groups->count(), 2);
                                               d->accept();
                                           });
    }
    void exportThroughMenu()
    {
        QFETCH(QString, action);
        QFETCH(QString, kind);
        QFETCH(Step, options);
        QVERIFY(ModelFile::save(sampleModel(), path("part.chs").toStdString()).ok());
        Program program;
        program.window.openModelFile(path("part.chs"));
        MessageBoxes boxes;
        std::vector<Step> steps = {[&](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            QCOMPARE(files->selectedFiles().value(0), path("part." + kind));
            saveAs("relief")(dialog); // the extension comes from the kind
        }};
        if (options)
            steps.push_back(options);
        QCOMPARE(stepThrough([&] { trigger(&program.window, qPrintable(action)); }, steps),
                 int(steps.size()));
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].text,
                 "座標が有限でない点、または範囲を超える点 1 個は書き出していません。");

        const QByteArray bytes = contents(path("relief." + kind));
        if (kind == "3mf") {
            QCOMPARE(threeMfObjects(bytes), 3); // two colours and the plate
            return;
        }
        const ReadBack read = readBack(kind, path("relief." + kind));
        REQUIRE_READ(read);
        QCOMPARE(bytes.contains("format ascii 1.0"),
                 QTest::currentDataTag() == QString("PLY, ASCII"));
        if (kind == "stl") { // 3 x 2 pixels of 0.5 mm, 1 + 0.6 + 4 x 0.25 mm high
            std::vector<double> low(3, HUGE_VAL), high(3, -HUGE_VAL);
            for (const QJsonValue &triangle : read.seen["triangles"].toArray())
                for (const std::vector<double> &corner : rows(triangle))
                    for (std::size_t axis = 0; axis < 3; ++axis) {
                        low[axis] = std::min(low[axis], corner[axis]);
                        high[axis] = std::max(high[axis], corner[axis]);
                    }
            const double size[3] = {1.5, 1.0, 2.6};
            for (std::size_t axis = 0; axis < 3; ++axis)
                QVERIFY(std::abs(high[axis] - low[axis] - size[axis]) < 1e-5);
            return;
        }
        const Model model = sampleModel();
        std::vector<std::vector<double>> points, colours;
        for (std::size_t i = 0; i + 1 < model.points.size(); ++i) {
            const Coords &p = model.points[i];
            points.push_back({p[Horizontal], p[Vertical], 0.0 - p[Depth]});
            const Colour c = model.colours[i];
            colours.push_back({double(c & 0xFF), double(c >> 8 & 0xFF), double(c >> 16 & 0xFF)});
        }
        QCOMPARE(rows(read.seen["points"]), points);
        QCOMPARE(rows(read.seen["colours"]), colours);
    }

    // The options chosen last come back in a new program's dialogs, the solids sharing
    // theirs; cancelled options are not kept and write nothing.
    void optionsRemembered()
    {
        int runs = 0; // each to a new file: no question about replacing one
        const auto run = [&](Program &program, const char *action, const Step &options) {
            return stepThrough([&] { trigger(&program.window, action); },
                               {saveAs(path(QString::number(++runs))), options});
        };
        MessageBoxes boxes;
        {
            Program program;
            program.document.importModel(sampleModel());
            run(program, "exportPlyAction", [](QDialog *dialog) {
                child<QRadioButton>(dialog, "ascii")->click();
                dialog->accept();
            });
            run(program, "export3mfAction", [](QDialog *dialog) {
                for (const char *name : {"pixelSize", "depthScale", "inkHeight", "baseThickness"})
                    child<QDoubleSpinBox>(dialog, name)->setValue(0.4);
                child<QCheckBox>(dialog, "reverse")->click();
                child<QSpinBox>(dialog, "colourGroups")->setValue(3);
                dialog->accept();
            });
            run(program, "exportStlAction", [](QDialog *dialog) {
                child<QDoubleSpinBox>(dialog, "pixelSize")->setValue(9);
                dialog->reject();
            });
            QVERIFY(!QFile::exists(path("3.stl")));
        }
        Program program;
        program.document.importModel(sampleModel());
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
            QCOMPARE(run(program, action, look), 2);
        QCOMPARE(seen.join(' '), "binary=0 ascii=1 0.4 0.4 0.4 0.4 reverse=1 3 "
                                 "0.4 0.4 0.4 0.4 reverse=1");
    }

    // A file that cannot be written is told with its name and the reason; an older file
    // stays as it was and nothing else is left in the folder.
    void failedWrite_data()
    {
        QTest::addColumn<QString>("name"); // in the folder out, which holds kept.xyz
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only folder") << "kept.xyz"
                                          << (::geteuid() == 0 ? "読み取り専用のドライブです。"
                                                               : "アクセスが許可されていません。");
        QTest::newRow("missing folder") << "no/such.xyz"
                                        << "ファイルまたはフォルダーが見つかりません。";
        QTest::newRow("name too long in bytes") << QString(90, QChar(0x3042)) + ".xyz"
                                                << "ファイル名が長すぎます。";
    }
    void failedWrite()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QDir folder(path("out"));
        QVERIFY(folder.mkpath("."));
        const auto fill = [&] {
            QFile file(folder.filePath("kept.xyz"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
        };
        if (name != "kept.xyz")
            fill();
        else if (!makeReadOnly(folder.path(), fill))
            QSKIP("cannot make a read-only folder here");
        Program program;
        program.document.importModel(sampleModel());
        MessageBoxes boxes(QString("はい(&Y)")); // Qt's own question: replace kept.xyz?
        stepThrough([&] { trigger(&program.window, "exportXyzAction"); },
                    {saveAs(folder.filePath(name))});
        const bool mounted = ::geteuid() == 0 && name == "kept.xyz";
        const QStringList left
            = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const QByteArray kept = contents(folder.filePath("kept.xyz"));
        if (mounted)
            ::umount2(QFile::encodeName(folder.path()).constData(), MNT_DETACH);
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(boxes.shown.size(), qsizetype(name == "kept.xyz" ? 2 : 1));
        QCOMPARE(boxes.shown.last().title, "エラーメッセージ");
        QCOMPARE(boxes.shown.last().text,
                 QString("ファイル %1 に書き込めません。\n%2").arg(folder.filePath(name), reason));
        QCOMPARE(kept, QByteArray("old"));
        QCOMPARE(left, QStringList("kept.xyz"));
    }
};

ZUVORAK_WINDOW_TEST_MAIN(TestExportMenu)
#include "tst_export_menu.moc"
