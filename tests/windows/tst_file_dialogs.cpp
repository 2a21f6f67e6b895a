#include "application.h"
#include "file_lists.h"
#include "form1.h"
#include "form2.h"
#include "form4.h"
#include "model_file_io.h"
#include "picture_box.h"
#include "platform.h"
#include "renderer.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <functional>
#include <memory>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QByteArray encoded(const ProgramState &state)
{
    const std::vector<std::uint8_t> bytes = ModelFile::encode(state);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

void fillModel(ProgramState &state, int count, double offset)
{
    for (int i = 0; i < count; ++i) {
        state.modelPoints[i] = {offset, double(i % 40) - 20.0, double(i / 40) - 10.0};
        state.pointColors[i] = Colour(0x00010203 * (i % 50));
    }
    state.pointCount = count;
}

void clickRow(QListWidget *list, int row)
{
    QVERIFY(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// QTest::mouseDClick leaves item views without a double-click in Qt 6.4.
void doubleClickRow(QListWidget *list, int row)
{
    QVERIFY(list->item(row));
    QWidget *viewport = list->viewport();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &twice);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}

int rowOf(QListWidget *list, const QString &text)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text().trimmed() == text)
            return row;
    return -1;
}

} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void targetPath_data();
    void targetPath();
    void dialogLayout_data();
    void dialogLayout();
    void saveModel_data();
    void saveModel();
    void failedSaveReports_data();
    void failedSaveReports();
    void saveOverCurrentFile();
    void bitmapReadBackByAnotherReader();
    void openModel_data();
    void openModel();
    void openBadFileKeepsEverything();
    void openClosedWithoutChoiceStillResetsView();
    void foldersOpenByDoubleClickOrEnter();
    void capturePicture_data();
    void capturePicture();

private:
    // Runs `drive` on the modal dialog once the next handler has shown it;
    // the dialog is closed afterwards in any case so a failure cannot hang.
    void whenDialogShows(std::function<void(QDialog *)> drive);
    QString caption() const { return form_->windowTitle(); }
    QAction *action(const char *name) const { return form_->findChild<QAction *>(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousFolder_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<Form1> form_;
    QList<MessageRequest> messages_;
    QMessageBox::StandardButton answer_ = QMessageBox::Yes;
    QString dialogCaption_;
};

void TestFileDialogs::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    state_ = std::make_unique<ProgramState>();
    form_ = std::make_unique<Form1>(*state_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    messages_.clear();
    answer_ = QMessageBox::Yes;
    setMessageHook([this](const MessageRequest &request) {
        messages_ << request;
        return answer_;
    });
}

void TestFileDialogs::cleanup()
{
    setMessageHook({});
    form_.reset();
    state_.reset();
    QDir::setCurrent(previousFolder_);
    dir_.reset();
}

void TestFileDialogs::whenDialogShows(std::function<void(QDialog *)> drive)
{
    QTimer::singleShot(0, this, [this, drive] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialogCaption_ = dialog->windowTitle();
        drive(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void TestFileDialogs::targetPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("target");
    QTest::newRow("one separator at the root") << "/"
                                               << "a"
                                               << ".chs"
                                               << "/a.chs";
    QTest::newRow("separator added inside a folder") << "/tmp/x"
                                                     << "a"
                                                     << ".bmp"
                                                     << "/tmp/x/a.bmp";
    QTest::newRow("typed extension is extended again") << "/tmp"
                                                       << "a.chs"
                                                       << ".chs"
                                                       << "/tmp/a.chs.chs";
    QTest::newRow("empty name leaves the extension alone") << "/tmp"
                                                           << ""
                                                           << ".chs"
                                                           << "/tmp/.chs";
    QTest::newRow("name used unchanged") << "/tmp"
                                         << " 模型 "
                                         << ".chs"
                                         << "/tmp/ 模型 .chs";
}

void TestFileDialogs::targetPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QFETCH(QString, target);
    QCOMPARE(saveTargetPath(folder, name, extension), target);
    QCOMPARE(pathInFolder(folder, name + extension), target);
}

void TestFileDialogs::dialogLayout_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QStringList>("tabOrder");
    QTest::addColumn<QList<QRect>>("geometry");
    QTest::addColumn<QStringList>("files");
    const QStringList saveOrder {"Drive1", "Dir1", "File1", "txtTargetFile", "Command1"};
    const QList<QRect> saveRects {{16, 16, 249, 20},
                                  {16, 48, 249, 118},
                                  {16, 176, 249, 114},
                                  {16, 304, 249, 25},
                                  {272, 280, 49, 49}};
    QTest::newRow("save model: model files only")
        << "mnuSaveAs"
        << "ファイルの保存" << QSize(327, 346) << saveOrder << saveRects
        << QStringList {"a.chs", "B.chs", "c.chs"};
    QTest::newRow("save bitmap: bitmaps only")
        << "mnuBmp"
        << "ビットマップファイルの保存" << QSize(327, 346) << saveOrder << saveRects
        << QStringList {"view.bmp"};
    QTest::newRow("open: model files only")
        << "mnuOpen"
        << "開く" << QSize(245, 386) << QStringList {"Drive1", "Dir1", "File1"}
        << QList<QRect> {{8, 8, 225, 20}, {8, 40, 225, 174}, {8, 224, 225, 150}}
        << QStringList {"a.chs", "B.chs", "c.chs"};
}

void TestFileDialogs::dialogLayout()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QSize, client);
    QFETCH(QStringList, tabOrder);
    QFETCH(QList<QRect>, geometry);
    QFETCH(QStringList, files);
    for (const char *name : {"c.chs", "a.chs", "B.chs", "view.bmp", "notes.txt"})
        writeFile(dir_->filePath(name), "x");
    QDir(dir_->path()).mkdir("sub");
    form_->enableModelCommands();

    bool shown = false;
    whenDialogShows([&](QDialog *dialog) {
        shown = true;
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(dialog->size(), client);
        QCOMPARE(dialog->pos(), placementFor(dialog->screen()->size()));
        for (int i = 0; i < tabOrder.size(); ++i) {
            auto *control = dialog->findChild<QWidget *>(tabOrder[i]);
            QVERIFY2(control, qPrintable(tabOrder[i]));
            QCOMPARE(control->geometry(), geometry[i]);
        }
        QStringList chain;
        QWidget *widget = dialog->findChild<QWidget *>(tabOrder.first());
        do {
            if (tabOrder.contains(widget->objectName()))
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget->objectName() != tabOrder.first());
        QCOMPARE(chain, tabOrder);
        auto *folders = dialog->findChild<FolderList *>("Dir1");
        QCOMPARE(folders->path(), QDir(dir_->path()).canonicalPath());
        QVERIFY(rowOf(folders, "sub") >= 0);
        QCOMPARE(dialog->findChild<DriveList *>("Drive1")->itemText(0), QStringLiteral("/"));
        auto *list = dialog->findChild<FileList *>("File1");
        QStringList shownFiles;
        for (int row = 0; row < list->count(); ++row)
            shownFiles << list->item(row)->text();
        QCOMPARE(shownFiles, files);
        if (auto *name = dialog->findChild<QLineEdit *>("txtTargetFile"))
            QCOMPARE(name->text(), QStringLiteral("title1"));
        if (auto *save = dialog->findChild<QPushButton *>("Command1")) {
            QCOMPARE(save->text(), QStringLiteral("保存"));
            QVERIFY(!save->isDefault() && !save->autoDefault());
        }
    });
    action(menu.toLatin1().constData())->trigger();
    QVERIFY(shown);
}

void TestFileDialogs::saveModel_data()
{
    QTest::addColumn<QString>("typed"); // empty: keep "title1"
    QTest::addColumn<QString>("existing"); // "", "empty" or "old"
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    const auto Yes = QMessageBox::Yes;
    QTest::newRow("new file under the preset name") << ""
                                                    << "" << Yes << "title1.chs" << false << true;
    QTest::newRow("overwrite answered Yes") << ""
                                            << "old" << Yes << "title1.chs" << true << true;
    QTest::newRow("overwrite answered No writes nothing")
        << ""
        << "old" << QMessageBox::No << "title1.chs" << true << false;
    QTest::newRow("zero-length file replaced without asking")
        << ""
        << "empty" << Yes << "title1.chs" << false << true;
    QTest::newRow("typed extension gets another") << "a.chs"
                                                  << "" << Yes << "a.chs.chs" << false << true;
}

void TestFileDialogs::saveModel()
{
    QFETCH(QString, typed);
    QFETCH(QString, existing);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, file);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    const QString target = QDir(dir_->path()).canonicalPath() + "/" + file;
    const QByteArray old = existing == "old" ? readAll(QStringLiteral(
                               ZUVORAK_SOURCE_DIR "/fuzz/corpus/two-points-with-colours.chs"))
                                             : QByteArray();
    if (!existing.isEmpty())
        writeFile(target, old);
    fillModel(*state_, 300, 4.5);
    form_->enableModelCommands();
    answer_ = answer;

    whenDialogShows([&](QDialog *dialog) {
        if (!typed.isEmpty())
            dialog->findChild<QLineEdit *>("txtTargetFile")->setText(typed);
        QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    form_->mnuSaveAs_Click();

    QCOMPARE(dialogCaption_, QStringLiteral("ファイルの保存"));
    QCOMPARE(messages_.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(messages_[0].text, target + " ファイルは既に存在します。上書きしますか？");
        QCOMPARE(messages_[0].title, QStringLiteral("ZUVORAK"));
        QCOMPARE(messages_[0].icon, QMessageBox::Warning);
        QCOMPARE(messages_[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(messages_[0].defaultButton, QMessageBox::Yes);
    }
    QCOMPARE(readAll(target), written ? encoded(*state_) : old);
    QCOMPARE(QString::fromStdString(state_->currentFileName), written ? target : QString());
    const QString name = typed.isEmpty() ? "title1" : typed;
    QCOMPARE(caption(), written ? name + ".chs - ZUVORAK" : QStringLiteral("ZUVORAK"));
}

void TestFileDialogs::failedSaveReports_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("typed");
    QTest::newRow("model into a missing folder") << "mnuSaveAs"
                                                 << "missing/title1";
    QTest::newRow("model under a name too long for the file system")
        << "mnuSaveAs" << QString(300, QLatin1Char('n'));
    QTest::newRow("bitmap into a missing folder leaves no file") << "mnuBmp"
                                                                 << "missing/view";
    QTest::newRow("bitmap under a name too long") << "mnuBmp" << QString(300, QLatin1Char('n'));
}

void TestFileDialogs::failedSaveReports()
{
    QFETCH(QString, menu);
    QFETCH(QString, typed);
    fillModel(*state_, 10, 1.0);
    form_->enableModelCommands();
    state_->currentFileName = "/somewhere/before.chs";
    form_->setWindowTitle("before.chs - ZUVORAK");

    whenDialogShows([&](QDialog *dialog) {
        dialog->findChild<QLineEdit *>("txtTargetFile")->setText(typed);
        QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    });
    action(menu.toLatin1().constData())->trigger();

    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].title, QStringLiteral("エラーメッセージ"));
    QCOMPARE(messages_[0].icon, QMessageBox::Warning);
    const QString extension = menu == "mnuBmp" ? ".bmp" : ".chs";
    QVERIFY2(messages_[0].text.contains(typed + extension), qPrintable(messages_[0].text));
    QVERIFY(messages_[0].text.contains("書き込みに失敗しました。"));
    QCOMPARE(state_->currentFileName, std::string("/somewhere/before.chs"));
    QCOMPARE(caption(), QStringLiteral("before.chs - ZUVORAK"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestFileDialogs::saveOverCurrentFile()
{
    fillModel(*state_, 5, 2.0);
    form_->enableModelCommands();

    // No current file yet: the save dialog for a model, preset to title1.
    QString preset;
    whenDialogShows(
        [&](QDialog *dialog) { preset = dialog->findChild<QLineEdit *>("txtTargetFile")->text(); });
    action("mnuSave")->trigger();
    QCOMPARE(dialogCaption_, QStringLiteral("ファイルの保存"));
    QCOMPARE(preset, QStringLiteral("title1"));
    QCOMPARE(state_->saveMode, std::uint8_t(0));

    const QString current = dir_->filePath("current.chs");
    state_->currentFileName = current.toStdString();
    form_->setWindowTitle("current.chs - ZUVORAK");
    action("mnuSave")->trigger();
    QCOMPARE(readAll(current), encoded(*state_));
    QVERIFY(messages_.isEmpty());

    // The current file can no longer be written: told, and the caption stays.
    const QString gone = dir_->filePath("gone/current.chs");
    state_->currentFileName = gone.toStdString();
    action("mnuSave")->trigger();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].title, QStringLiteral("エラーメッセージ"));
    QVERIFY(messages_[0].text.contains(gone));
    QCOMPARE(caption(), QStringLiteral("current.chs - ZUVORAK"));
}

void TestFileDialogs::bitmapReadBackByAnotherReader()
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (QProcess::execute(python, {"-c", "import PIL"}) != 0)
        QSKIP("needs /usr/bin/python3 with PIL (python3-pil)");
    ImageSurface &view = form_->picture1()->surface();
    view.PSet(0, 0, 0x000000FF);
    view.PSet(260, 0, 0x0000FF00);
    view.PSet(0, 260, 0x00FF0000);
    view.PSet(130, 77, 0x00123456);
    form_->enableModelCommands();
    state_->currentFileName = "/kept.chs";

    whenDialogShows([&](QDialog *dialog) {
        dialog->findChild<QLineEdit *>("txtTargetFile")->setText("view");
        QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    });
    form_->mnuBmp_Click();
    QCOMPARE(dialogCaption_, QStringLiteral("ビットマップファイルの保存"));
    QCOMPARE(state_->currentFileName, std::string("/kept.chs"));
    QCOMPARE(caption(), QStringLiteral("ZUVORAK"));

    QProcess reader;
    reader.start(python, {"-c",
                          "import sys; from PIL import Image\n"
                          "im = Image.open(sys.argv[1]).convert('RGB')\n"
                          "print(im.size[0], im.size[1])\n"
                          "for x, y in ((0,0),(260,0),(0,260),(130,77),(5,5)):\n"
                          "    print('%02x%02x%02x' % im.getpixel((x, y)))",
                          dir_->filePath("view.bmp")});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    const QStringList lines
        = QString(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, QStringList({"261 261", "ff0000", "00ff00", "0000ff", "563412", "ffffff"}));
}

void TestFileDialogs::openModel_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("selected by a click") << false;
    QTest::newRow("selected by the arrow key") << true;
}

void TestFileDialogs::openModel()
{
    QFETCH(bool, byKey);
    ProgramState &saved = *state_;
    fillModel(saved, 120, -3.25);
    QVERIFY(ModelFile::save(saved, dir_->filePath("title1.chs").toStdString()).ok());
    fillModel(*state_, 400, 9.0);
    std::fill(state_->pointColors.begin(), state_->pointColors.end(), 0x00ABCDEF);
    const auto expected = std::make_unique<ProgramState>();
    fillModel(*expected, 120, -3.25);

    whenDialogShows([&](QDialog *dialog) {
        auto *list = dialog->findChild<FileList *>("File1");
        QCOMPARE(list->count(), 1);
        if (byKey) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
        } else {
            clickRow(list, 0);
        }
        QVERIFY(!dialog->isVisible());
    });
    action("mnuOpen")->trigger();

    QVERIFY(messages_.isEmpty());
    QCOMPARE(state_->pointCount, 120);
    QCOMPARE(
        std::memcmp(state_->modelPoints.data(), expected->modelPoints.data(), 120 * sizeof(Coords)),
        0);
    QCOMPARE(state_->pointColors[7], expected->pointColors[7]);
    QCOMPARE(state_->pointColors[120], Colour(0x00ABCDEF));
    QCOMPARE(QString::fromStdString(state_->currentFileName),
             QDir(dir_->path()).canonicalPath() + "/title1.chs");
    QCOMPARE(caption(), QStringLiteral("title1.chs- ZUVORAK"));
    for (const char *name : {"mnuSave", "mnuSaveAs", "mnuBmp", "mnuKaiten", "mnuSayuu"})
        QVERIFY2(action(name)->isEnabled(), name);
    QVERIFY(form_->findChild<QPushButton *>("Coanime")->isEnabled());
    QVERIFY(!action("mnuYarinaosi")->isEnabled());
}

void TestFileDialogs::openBadFileKeepsEverything()
{
    QFile::copy(QStringLiteral(ZUVORAK_SOURCE_DIR "/fuzz/corpus/count-above-capacity.chs"),
                dir_->filePath("broken.chs"));
    fillModel(*state_, 50, 7.0);
    const auto before = std::make_unique<ProgramState>(*state_);
    state_->currentFileName = "/before.chs";

    whenDialogShows([&](QDialog *dialog) { clickRow(dialog->findChild<FileList *>("File1"), 0); });
    action("mnuOpen")->trigger();

    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].title, QStringLiteral("エラーメッセージ"));
    QVERIFY(messages_[0].text.contains(dir_->filePath("broken.chs").section('/', -1)));
    QVERIFY2(messages_[0].text.contains("100001"), qPrintable(messages_[0].text));
    QCOMPARE(state_->pointCount, 50);
    QCOMPARE(std::memcmp(state_->modelPoints.data(), before->modelPoints.data(),
                         sizeof before->modelPoints),
             0);
    QCOMPARE(std::memcmp(state_->pointColors.data(), before->pointColors.data(),
                         sizeof before->pointColors),
             0);
    QCOMPARE(state_->currentFileName, std::string("/before.chs"));
    QCOMPARE(caption(), QStringLiteral("ZUVORAK"));
    QVERIFY(!action("mnuSave")->isEnabled());
}

void TestFileDialogs::openClosedWithoutChoiceStillResetsView()
{
    fillModel(*state_, 200, 0.0);
    form_->enableModelCommands();
    form_->findChild<QPushButton *>("Cokl2")->click();
    QCOMPARE(form_->findChild<QLabel *>("Lsu1")->text(), QStringLiteral("5"));
    form_->picture2()->surface().PSet(10, 10, 0x00000000);
    form_->picture1()->surface().PSet(3, 3, 0x000000FF);
    state_->currentFileName = "/kept.chs";

    whenDialogShows([](QDialog *dialog) { dialog->reject(); });
    action("mnuOpen")->trigger();

    QCOMPARE(state_->openMode.value(), 0.0);
    QCOMPARE(form_->findChild<QLabel *>("Lsu1")->text(), QStringLiteral("0"));
    QCOMPARE(form_->findChild<QLabel *>("Lsu2")->text(), QStringLiteral("0"));
    QImage white(form_->picture2()->surface().image().size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(form_->picture2()->surface().image(), white);
    ImageSurface front(261, 261, kWhite);
    renderView(*state_, front, 0.0, 0.0);
    QCOMPARE(form_->picture1()->surface().image(), front.image());
    QCOMPARE(state_->pointCount, 200);
    QCOMPARE(state_->currentFileName, std::string("/kept.chs"));
}

void TestFileDialogs::foldersOpenByDoubleClickOrEnter()
{
    QDir(dir_->path()).mkpath("sub/deeper");
    writeFile(dir_->filePath("sub/inside.chs"), "x");
    const QString top = QDir(dir_->path()).canonicalPath();

    whenDialogShows([&](QDialog *dialog) {
        auto *folders = dialog->findChild<FolderList *>("Dir1");
        auto *files = dialog->findChild<FileList *>("File1");
        QCOMPARE(files->count(), 0);
        const int sub = rowOf(folders, "sub");
        QVERIFY(sub >= 0);
        doubleClickRow(folders, sub);
        QTRY_COMPARE(folders->path(), top + "/sub");
        QCOMPARE(files->path(), top + "/sub");
        QCOMPARE(files->count(), 1);

        // Back up with Enter on the parent, which is listed among the ancestors.
        folders->setFocus();
        folders->setCurrentRow(rowOf(folders, QFileInfo(top).fileName()));
        QTest::keyClick(folders, Qt::Key_Return);
        QTRY_COMPARE(folders->path(), top);
        QCOMPARE(files->path(), top);
        QVERIFY(dialog->isVisible());

        QVERIFY(!folders->setPath(top + "/no-such-folder"));
        QCOMPARE(folders->path(), top);
    });
    action("mnuOpen")->trigger();
}

void TestFileDialogs::capturePicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("shown");
    QTest::newRow("a bitmap becomes the capture picture") << "picture.bmp" << true;
    QTest::newRow("an unreadable bitmap is told, the old picture stays") << "broken.bmp" << false;
}

void TestFileDialogs::capturePicture()
{
    QFETCH(QString, file);
    QFETCH(bool, shown);
    QImage first(20, 10, QImage::Format_RGB32);
    first.fill(qRgb(10, 200, 30));
    QVERIFY(first.save(dir_->filePath("start.png"), "PNG"));
    QImage second(30, 30, QImage::Format_RGB32);
    second.fill(qRgb(250, 0, 0));
    QVERIFY(second.save(dir_->filePath("picture.bmp"), "BMP"));
    writeFile(dir_->filePath("broken.bmp"), "BM not really");
    state_->currentFileName = "/kept.chs";

    Form4::setStartPicture(dir_->filePath("start.png"));
    Form4 capture(*state_, *form_);
    Form4::setStartPicture({});
    const std::string startPath = state_->capturePicturePath;
    QCOMPARE(capture.picture1()->surface().Point(5, 5), Colour(0x001EC80A));

    whenDialogShows([&](QDialog *dialog) {
        auto *list = dialog->findChild<FileList *>("File1");
        QCOMPARE(list->pattern(), QStringLiteral("*.bmp"));
        clickRow(list, rowOf(list, file));
    });
    capture.mnuOpen_Click();

    QCOMPARE(state_->openMode.value(), 1.0);
    const QString path = QDir(dir_->path()).canonicalPath() + "/" + file;
    QCOMPARE(QString::fromStdString(state_->capturePicturePath),
             shown ? path : QString::fromStdString(startPath));
    QCOMPARE(capture.picture1()->surface().Point(5, 5),
             shown ? Colour(0x000000FA) : Colour(0x001EC80A));
    QCOMPARE(messages_.size(), shown ? 0 : 1);
    if (!shown)
        QVERIFY(messages_[0].text.contains(path));
    QCOMPARE(state_->currentFileName, std::string("/kept.chs"));
    QCOMPARE(caption(), QStringLiteral("ZUVORAK"));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestFileDialogs test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_file_dialogs.moc"
