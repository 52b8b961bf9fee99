#include "app/qt/Icons.h"

#include <QFile>

// The resources live in the application's library; a static library's
// resources must be registered by name, outside any namespace.
static void RegisterResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(ostrel);
        return true;
    }();
    (void)registered;
}

namespace ostrel {

QIcon ThemeIcon(const QString& name)
{
    RegisterResources();
    QIcon own;
    const QString base = QStringLiteral(":/ostrel/icons/") + name;
    if (QFile::exists(base + QStringLiteral(".png"))) {
        own.addFile(base + QStringLiteral(".png"), QSize(16, 16));
        own.addFile(base + QStringLiteral("@2x.png"), QSize(32, 32));
    }
    return QIcon::fromTheme(name, own);
}

QIcon ProgramIcon()
{
    RegisterResources();
    return QIcon(QStringLiteral(":/ostrel/ostrel.png"));
}

}  // namespace ostrel
