#pragma once

#include <QAbstractButton>
#include <QObject>

#include <functional>
#include <type_traits>

class PromptService;
class QWidget;

// A window's command runs inside a Qt connection, which nothing may be thrown through. A
// command connected here catches what it throws where it runs, shows it in an error box
// captioned with the application title, and the window goes on with its next event.

// Shows an error caught by a command.
void reportError(PromptService &prompts, QWidget *parent, const QString &message);

// Runs command; true when it ended without an error, false when an error was shown.
bool runCommand(PromptService &prompts, QWidget *parent, const std::function<void()> &command);

// Runs a command that stands between a window and its closing; true when the window may close.
// It may also close when the connection to the database server is lost: nothing can be stored
// any more, and a window that would not close would trap the user.
bool runClosingCommand(PromptService &prompts, QWidget *parent,
                       const std::function<void()> &command);

// Runs command whenever sender emits signal; a command that takes no arguments ignores
// the signal's.
template <class Sender, class Signal, class Command>
QMetaObject::Connection connectCommand(Sender *sender, Signal signal, QWidget *window,
                                       PromptService &prompts, Command command)
{
    return QObject::connect(sender, signal, window,
                            [window, &prompts, command = std::move(command)](auto... args) {
                                runCommand(prompts, window, [&] {
                                    if constexpr (std::is_invocable_v<Command>)
                                        command();
                                    else
                                        command(args...);
                                });
                            });
}

// Runs command whenever button is clicked.
template <class Command>
QMetaObject::Connection connectCommand(QAbstractButton *button, QWidget *window,
                                       PromptService &prompts, Command command)
{
    return connectCommand(button, &QAbstractButton::clicked, window, prompts,
                          [command = std::move(command)] { command(); });
}
