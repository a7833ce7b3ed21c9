#include "commands/gui/replacedialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

ReplaceDialog::ReplaceDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Replace"));
    setObjectName(QStringLiteral("ReplaceDialog"));
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("txtFindWhat"));
    m_replace = new QLineEdit(this);
    m_replace->setObjectName(QStringLiteral("txtReplaceWith"));
    m_case = new QCheckBox(QStringLiteral("Match &case"), this);
    m_case->setObjectName(QStringLiteral("chkMatchCase"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), m_find);
    form->addRow(QStringLiteral("Re&place with:"), m_replace);
    form->addRow(QString(), m_case);

    auto *findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext->setObjectName(QStringLiteral("cmdFindNext"));
    findNext->setDefault(true);
    auto *replace = new QPushButton(QStringLiteral("&Replace"), this);
    replace->setObjectName(QStringLiteral("cmdReplace"));
    auto *replaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
    replaceAll->setObjectName(QStringLiteral("cmdReplaceAll"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    connect(findNext, &QPushButton::clicked, this, &ReplaceDialog::findNextRequested);
    connect(replace, &QPushButton::clicked, this, &ReplaceDialog::replaceRequested);
    connect(replaceAll, &QPushButton::clicked, this, &ReplaceDialog::replaceAllRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(findNext);
    buttons->addWidget(replace);
    buttons->addWidget(replaceAll);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *top = new QHBoxLayout(this);
    top->addLayout(form, 1);
    top->addLayout(buttons);
}

QString ReplaceDialog::findText() const { return m_find->text(); }
QString ReplaceDialog::replaceText() const { return m_replace->text(); }
bool ReplaceDialog::matchCase() const { return m_case->isChecked(); }
void ReplaceDialog::setFindText(const QString &text) { m_find->setText(text); }
void ReplaceDialog::setReplaceText(const QString &text) { m_replace->setText(text); }
void ReplaceDialog::setMatchCase(bool on) { m_case->setChecked(on); }

} // namespace varkel
