#include "command_row.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QPushButton *commandButton(QWidget *parent, const char *name, const QString &text)
{
    auto *made = new QPushButton(text, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
}

QBoxLayout *commandRow(QDialog &dialog, std::initializer_list<QPushButton *> commands)
{
    auto *row = new QHBoxLayout;
    for (QPushButton *command : commands)
        row->addWidget(command);
    row->addStretch();
    QPushButton *close = commandButton(&dialog, "btnClose", QStringLiteral("Закрыть"));
    row->addWidget(close);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    return row;
}
