#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBrowser>

// The program's help: once a help file has been set, F1 in any window of the
// program opens it; before that F1 does nothing.
class HelpViewer : public QObject {
    Q_OBJECT

public:
    static HelpViewer &instance();

    void setHelpFile(const QString &path);

    // The help window, if it has been opened.
    QTextBrowser *window() const { return window_; }

    void showHelp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpViewer();

    QString helpFile_;
    QPointer<QTextBrowser> window_;
};
