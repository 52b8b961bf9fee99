#include "app/AppErrors.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <QDir>
#include <QFile>

#include "app/GlobalRes.h"
#include "platform/SafeWrite.h"

namespace ostrel {

namespace {

QString SystemReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return res::kReasonNoSpace;
    case EFBIG:
        return res::kReasonTooLarge;
    case EACCES:
    case EPERM:
        return res::kReasonPermission;
    case ENOENT:
    case ENOTDIR:
        return res::kReasonNoFolder;
    case EROFS:
        return res::kReasonReadOnlyDisk;
    case EISDIR:
        return res::kReasonIsFolder;
    case EIO:
        return res::kReasonDevice;
    default:
        return QString::fromLocal8Bit(std::strerror(error)) + u'.';
    }
}

}  // namespace

QString SaveErrorText(const std::exception& error)
{
    QString text = res::kSaveError;
    if (const auto* system = dynamic_cast<const std::system_error*>(&error);
        system && system->code().category() == std::generic_category())
        text += u' ' + SystemReason(system->code().value());
    else
        text += u' ' + QString::fromLocal8Bit(error.what()) + u'.';
    if (const auto* safe = dynamic_cast<const ESafeWrite*>(&error); safe && !safe->KeptCopy().empty())
        text += u' ' + res::kOldContentsKept.arg(QDir::toNativeSeparators(QFile::decodeName(safe->KeptCopy().c_str())));
    return text;
}

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
