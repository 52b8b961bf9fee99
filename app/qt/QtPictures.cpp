#include "app/qt/QtPictures.h"

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <map>

#include "editor/OstEditMiscClasses.h"

namespace ostrel {

namespace {

std::map<std::string, std::vector<QPixmap>, std::less<>>& Lists()
{
    static std::map<std::string, std::vector<QPixmap>, std::less<>> lists;
    // Pixmaps must go while the application that made them still exists.
    static const bool clearedWithApplication = [] {
        qAddPostRoutine([] { Lists().clear(); });
        return true;
    }();
    (void)clearedWithApplication;
    return lists;
}

QImage BlankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A small tab with a folded corner and the bookmark's digit on it.
QPixmap BookmarkPicture(int number, int width, int height)
{
    QImage image = BlankImage(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath tab;
    tab.moveTo(0, 0);
    tab.lineTo(width - 1, 0);
    tab.lineTo(width - 1, height - 1);
    tab.lineTo((width - 1) / 2, height - 4);
    tab.lineTo(0, height - 1);
    tab.closeSubpath();
    p.fillPath(tab, QColor(0x3C, 0x78, 0xC8));
    p.setPen(QColor(0x1E, 0x3C, 0x64));
    p.drawPath(tab);
    QFont font;
    font.setPixelSize(height - 5);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, width, height - 3), Qt::AlignCenter, QString::number(number));
    return QPixmap::fromImage(image);
}

// A return arrow: down from the top right, then left to an arrow head.
QPixmap WrapPicture(int width, int height)
{
    QImage image = BlankImage(width, height);
    QPainter p(&image);
    p.setPen(QColor(0x40, 0x40, 0x40));
    const int right = width - 2;
    const int bottom = height - 3;
    p.drawLine(right, 1, right, bottom);
    p.drawLine(2, bottom, right, bottom);
    p.drawLine(2, bottom, 5, bottom - 3);
    p.drawLine(2, bottom, 5, bottom + 3);
    return QPixmap::fromImage(image);
}

std::vector<QPixmap> BuiltInList(std::string_view name)
{
    std::vector<QPixmap> pictures;
    const TOstImageList bookmarks = InternalBookmarkImages();
    const TOstImageList wrapped = WrappedRowImages();
    if (name == bookmarks.Name) {
        for (int i = 0; i < bookmarks.Count; ++i)
            pictures.push_back(BookmarkPicture(i, bookmarks.Width, bookmarks.Height));
    } else if (name == wrapped.Name) {
        pictures.push_back(WrapPicture(wrapped.Width, wrapped.Height));
    }
    return pictures;
}

}  // namespace

QPixmap PictureOf(std::string_view list, int index)
{
    auto& lists = Lists();
    auto it = lists.find(list);
    if (it == lists.end()) {
        std::vector<QPixmap> builtIn = BuiltInList(list);
        if (builtIn.empty())
            return {};
        it = lists.emplace(std::string(list), std::move(builtIn)).first;
    }
    if (index < 0 || index >= static_cast<int>(it->second.size()))
        return {};
    return it->second[static_cast<size_t>(index)];
}

void RegisterImageList(const std::string& name, std::vector<QPixmap> pictures)
{
    Lists()[name] = std::move(pictures);
}

}  // namespace ostrel
