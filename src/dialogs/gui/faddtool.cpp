#include "dialogs/gui/faddtool.h"

#include "documents/gui/prompts.h"
#include "app/mglobal.h"
#include "dialogs/usertools.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace varkel {

fAddTool::fAddTool(QTreeWidget *list, Prompts &prompts, std::function<void()> changed, QWidget *parent)
    : QDialog(parent)
    , m_list(list)
    , m_prompts(prompts)
    , m_changed(std::move(changed))
{
    setObjectName(QStringLiteral("fAddTool"));
    setModal(true);
    setWindowTitle(mGlobal::AddingTool ? QStringLiteral("Varkel - Add User Tool")
                                       : QStringLiteral("Varkel - Edit User Tool"));

    lblInstructions = new QLabel(QStringLiteral("Enter the name of the program and the path."), this);
    txtToolName = new QLineEdit(this);
    txtToolName->setObjectName(QStringLiteral("txtToolName"));
    txtToolPath = new QLineEdit(this);
    txtToolPath->setObjectName(QStringLiteral("txtToolPath"));
    cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    cmdBrowse->setFixedWidth(cmdBrowse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *nameLabel = new QLabel(QStringLiteral("Tool Name:"), this);
    nameLabel->setBuddy(txtToolName);
    auto *pathLabel = new QLabel(QStringLiteral("Path:"), this);
    pathLabel->setBuddy(txtToolPath);

    auto *grid = new QGridLayout;
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(txtToolName, 0, 1, 1, 2);
    grid->addWidget(pathLabel, 1, 0);
    grid->addWidget(txtToolPath, 1, 1);
    grid->addWidget(cmdBrowse, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInstructions);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    connect(cmdOK, &QPushButton::clicked, this, &fAddTool::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &fAddTool::cmdCancel_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &fAddTool::cmdBrowse_Click);
}

void fAddTool::cmdBrowse_Click()
{
    QDir::setCurrent(QString::fromStdString(mGlobal::AppDir));
    // Programs on this platform carry no common extension, so every file is
    // offered; the dialog accepts only a file that exists.
    const QString file = m_prompts.OpenFile(this, QStringLiteral("Specify User Tool"), txtToolPath->text(),
                                            QStringLiteral("All Files (*)"));
    if (!file.isEmpty())
        txtToolPath->setText(file);
}

void fAddTool::cmdOK_Click()
{
    const QString name = txtToolName->text();
    const QString path = txtToolPath->text();
    const ToolCheck check = CheckUserTool(name.toStdString(), path.toStdString());
    if (check != ToolCheck::Ok) {
        const std::string_view message = ToolCheckMessage(check);
        m_prompts.Exclamation(this, QStringLiteral("Varkel"),
                              QString::fromLatin1(message.data(), static_cast<qsizetype>(message.size())));
        if (check == ToolCheck::PathEmpty) {
            txtToolPath->setFocus();
        } else {
            if (check == ToolCheck::NameTooLong)
                txtToolName->selectAll();
            txtToolName->setFocus();
        }
        return;
    }
    if (QTreeWidgetItem *row = m_list->currentItem()) {
        row->setText(0, name);
        row->setText(1, path);
        row->setData(0, Qt::UserRole, 0);
    }
    mGlobal::AddingTool = false;
    QDialog::accept();
    m_list->setFocus();
    if (QTreeWidgetItem *row = m_list->currentItem())
        m_list->scrollToItem(row);
    if (m_changed)
        m_changed();
}

void fAddTool::cmdCancel_Click()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    if (mGlobal::AddingTool) {
        delete m_list->currentItem();
        mGlobal::AddingTool = false;
    }
    QDialog::reject();
}

void fAddTool::reject()
{
    cmdCancel_Click();
}

} // namespace varkel
