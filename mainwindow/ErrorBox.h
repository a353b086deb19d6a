#pragma once
// The application's standard error box and the one place where errors that escape a handler
// are caught. Qt does not let exceptions pass through its event delivery, so every handler of
// the windows runs inside RunHandler.

#include "model/Display.h"

#include <QString>
#include <exception>
#include <utility>

// The application title: the task-bar text and the caption of the standard error box.
inline constexpr char ApplicationTitle[] = "Golvar Holy Quran Learning";

// The message as the box shows it: a full stop is added unless the text already ends in a
// full stop or another character at or below it (space, punctuation).
QString StandardErrorText(const QString& message);

// Shows the message modally with the application title as caption and an OK button; the
// application goes on afterwards.
void ShowStandardError(const QString& message);

// Runs a handler; an error that escapes it is shown in the standard error box.
template <class Handler> void RunHandler(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowStandardError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowStandardError(QStringLiteral("Unknown error"));
    }
}

// The modal message box the reading model shows when a recording cannot be written.
class TErrorBox final : public IErrorBox {
public:
    void ShowError(const QString& title, const QString& text) override;
};
