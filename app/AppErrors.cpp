#include "app/AppErrors.h"

#include "app/GlobalRes.h"

namespace ostrel {

QString ProgramErrorText(const std::exception& error)
{
    return res::kErrorPrefix + QString::fromLocal8Bit(error.what()) + u'.';
}

void RunGuarded(const std::function<void()>& command,
                const std::function<void(const std::exception&)>& onError)
{
    try {
        command();
    } catch (const EAbort&) {
        // The user cancelled; nothing to report.
    } catch (const std::exception& error) {
        onError(error);
    }
}

}  // namespace ostrel
