#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLayout>

// OK and キャンセル at the foot of a dialog's layout, accepting and rejecting it.
inline QDialogButtonBox *addButtons(QDialog *dialog, QLayout *layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}
