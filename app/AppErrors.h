#pragma once
// How the shell's commands fail: a silent abort that ends a command without a
// word (a cancelled save question), and everything else, which reaches the
// application-wide handler and its message box.

#include <exception>
#include <functional>

#include <QString>

namespace ostrel {

// Raised by a cancelled save question; ends the whole command that asked.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// The text the application-wide handler shows for a failure.
QString ProgramErrorText(const std::exception& error);

// kSaveError with the reason the failure gives: the system's (no space,
// permission, folder missing, ...) or the text's own.
QString SaveErrorText(const std::exception& error);

// Runs a command, ending a silent abort quietly and handing any other failure
// to the handler, so no exception ever crosses the event loop.
void RunGuarded(const std::function<void()>& command,
                const std::function<void(const std::exception&)>& onError);

}  // namespace ostrel
