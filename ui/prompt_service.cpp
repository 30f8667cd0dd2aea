#include "prompt_service.h"

#include "application_title.h"
#include "dialog_centring.h"

#include <QFileDialog>
#include <QInputDialog>

std::unique_ptr<QMessageBox> MessageBoxPrompts::makeBox(Kind kind, QWidget *parent,
                                                        const QString &text, const QString &caption)
{
    auto box = std::make_unique<QMessageBox>(parent);
    centreOnParentWindow(*box);
    box->setText(text);
    switch (kind) {
    case Kind::Confirm:
        box->setWindowTitle(QStringLiteral("Confirm"));
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
        break;
    case Kind::Inform:
        box->setWindowTitle(applicationTitle());
        box->setIcon(QMessageBox::NoIcon);
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Error:
        box->setWindowTitle(caption);
        box->setIcon(QMessageBox::Critical);
        box->setStandardButtons(QMessageBox::Ok);
        break;
    }
    return box;
}

bool MessageBoxPrompts::confirm(QWidget *parent, const QString &text)
{
    return makeBox(Kind::Confirm, parent, text)->exec() == QMessageBox::Yes;
}

void MessageBoxPrompts::inform(QWidget *parent, const QString &text)
{
    makeBox(Kind::Inform, parent, text)->exec();
}

void MessageBoxPrompts::error(QWidget *parent, const QString &text, const QString &caption)
{
    makeBox(Kind::Error, parent, text, caption)->exec();
}

QString PromptService::chooseFile(QWidget *, const QString &, const QString &, const QString &)
{
    return {};
}

QString PromptService::chooseSaveFile(QWidget *, const QString &, const QString &, const QString &)
{
    return {};
}

std::optional<QString> PromptService::askPassword(QWidget *, const QString &)
{
    return std::nullopt;
}

QString MessageBoxPrompts::chooseFile(QWidget *parent, const QString &caption,
                                      const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString MessageBoxPrompts::chooseSaveFile(QWidget *parent, const QString &caption,
                                          const QString &suggested, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

std::optional<QString> MessageBoxPrompts::askPassword(QWidget *parent, const QString &text)
{
    bool given = false;
    const QString password =
        QInputDialog::getText(parent, applicationTitle(), text, QLineEdit::Password, {}, &given);
    if (!given)
        return std::nullopt;
    return password;
}
