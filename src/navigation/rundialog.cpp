// RunDialog: layout and running of the typed command.
#include "navigation/rundialog.h"

#include "navigation/toollauncher.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Commands typed before, newest first, for the rest of the run.
QStringList &recentCommands() {
    static QStringList commands;
    return commands;
}

// How many typed commands the box offers again.
constexpr int kRememberedCommands = 10;

} // namespace

RunDialog::RunDialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("kezrundialog"));
    setWindowTitle(QStringLiteral("运行"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("输入程序名称或命令行，将在主目录中运行："), this));
    m_command = new QComboBox(this);
    m_command->setEditable(true);
    m_command->addItems(recentCommands());
    m_command->setCurrentText(QString());
    m_command->setMinimumWidth(360);
    layout->addWidget(m_command);
    m_error = new QLabel(this);
    m_error->setStyleSheet(QStringLiteral("color: #c00000"));
    m_error->hide();
    layout->addWidget(m_error);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &RunDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RunDialog::reject);
    layout->addWidget(buttons);
}

QString RunDialog::commandLine() const {
    return m_command->currentText();
}

void RunDialog::setCommandLine(const QString &text) {
    m_command->setCurrentText(text);
}

void RunDialog::accept() {
    const QString command = commandLine().trimmed();
    if (command.isEmpty()) {
        return;
    }
    if (!ToolLauncher::runCommandLine(command, QDir::homePath())) {
        m_error->setText(QStringLiteral("无法运行“%1”：找不到该程序或无权运行。").arg(command));
        m_error->show();
        return;
    }
    QStringList &commands = recentCommands();
    commands.removeAll(command);
    commands.prepend(command);
    while (commands.size() > kRememberedCommands) {
        commands.removeLast();
    }
    QDialog::accept();
}
