// RunDialog: a small dialog that runs a typed command line ("运行窗口").
#pragma once

#include <QDialog>

class QComboBox;

// Asks for a command line and starts it detached in the home folder; a command that cannot be
// started keeps the dialog open with the reason under the box. The last commands are offered
// again while the program runs. User-interface thread only.
class RunDialog : public QDialog {
    Q_OBJECT
public:
    explicit RunDialog(QWidget *parent = nullptr);

    QString commandLine() const;
    void setCommandLine(const QString &text);

    void accept() override;

private:
    QComboBox *m_command = nullptr;
    class QLabel *m_error = nullptr;
};
