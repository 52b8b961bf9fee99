// The main window's menus, toolbar, popup menus and status bar: each item with
// its caption, shortcut and the command it runs.

#include <algorithm>

#include <QActionGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/qt/Icons.h"
#include "app/Document.h"
#include "app/Mein.h"

namespace ostrel {

namespace {

// "Wstaw &HTML": tags around the selection (close text given) or a text in
// its place.
struct THtmlItem {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* open;
    const char* close;
};

constexpr THtmlItem kHtmlItems[] = {
    {"miPogrubienie1", "Pogru&bienie (<B>)", "Ctrl+B", "<B>", "</B>"},
    {"miKursywa1", "&Kursywa (<I>)", "Ctrl+I", "<I>", "</I>"},
    {"miPodkreslenie1", "&Podkreślenie (<U>)", "Ctrl+U", "<U>", "</U>"},
    {"miDiv1", "&Div (<DIV>)", "Ctrl+D", "<DIV>", "</DIV>"},
    {"miParagraf1", "&Paragraf (<P>)", "Shift+Ctrl+P", "<P>", "</P>"},
    {"miKomentarz1", "Ko&mentarz (<!--)", "Shift+Ctrl+1", "<!-- ", " -->"},
    {"miNbsp1", "&Niełamliwa spacja (nbsp)", "Ctrl+Space", "&nbsp;", nullptr},
    {"miKoniecWiersza1", "&Koniec wiersza (<BR>)", "Ctrl+Return", "<BR>", nullptr},
    {"miLt1", "< (lt)", "Shift+Ctrl+,", "&lt;", nullptr},
    {"miGt1", "> (gt)", "Shift+Ctrl+.", "&gt;", nullptr},
    {"miOdnosnik1", "Odnośn&ik (<A href..)", "Shift+Ctrl+A", "<A href=\"\">", "</A>"},
};

constexpr THtmlItem kAlignItems[] = {
    {"miDoLewej1", "do &lewej", "Ctrl+L", "<div align=\"left\">", "</div>"},
    {"miDoSrodka1", "do ś&rodka", "Ctrl+E", "<div align=\"center\">", "</div>"},
    {"miDoPrawej1", "do &prawej", "Ctrl+R", "<div align=\"right\">", "</div>"},
    {"miJustowanie1", "&justowanie", "Ctrl+J", "<div align=\"justify\">", "</div>"},
};

// "&Data": each item's caption and the short date format it sets.
struct TDateItem {
    const char* name;
    const char* caption;
    const char* format;
};

constexpr TDateItem kDateItems[] = {
    {"miData11", "dd.mm.rrrr", "dd.mm.yyyy"},
    {"miData21", "rrrr.mm.dd", "yyyy.mm.dd"},
    {"miData31", "mm.dd.rrrr", "mm.dd.yyyy"},
    {"miData41", "dzień miesiąc rok", "dd mmmm yyyy"},
    {"miData51", "nazwa dnia dzień miesiąc rok", "dddd dd mmmm yyyy"},
    {"miData61", "dd-mm-rrrr", "dd-mm-yyyy"},
    {"miData71", "rrrr-mm-dd", "yyyy-mm-dd"},
    {"miData81", "mm-dd-rrrr", "mm-dd-yyyy"},
};

struct TCommandItem {
    const char* name;
    const char* caption;
    const char* shortcut;
    void (TOstrel3Main::*handler)();
};

constexpr TCommandItem kCaseItems[] = {
    {"miDuzeZnaki1", "&DUŻE ZNAKI", nullptr, &TOstrel3Main::miDuzeZnaki1Click},
    {"miMaleZnaki1", "&małe znaki", nullptr, &TOstrel3Main::miMaleZnaki1Click},
    {"miPierwszeDuze1", "&Pierwsze Duże", nullptr, &TOstrel3Main::miPierwszeDuze1Click},
    {"miPierwszeMale1", "p&IERWSZE mAŁE", nullptr, &TOstrel3Main::miPierwszeMale1Click},
};

constexpr TCommandItem kExportItems[] = {
    {"miUTF8", "do &UTF8", nullptr, &TOstrel3Main::miUTF8Click},
    {"miEksportZaznaczonyTekstDoPliku1", "&zaznaczony tekst do pliku", nullptr,
     &TOstrel3Main::miEksportZaznaczonyTekstDoPliku1Click},
    {"miExportDolaczNaKoniecPliku1", "&dołącz na koniec pliku", nullptr,
     &TOstrel3Main::miExportDolaczNaKoniecPliku1Click},
    {"miExportRTF1", "do &RTF (z kolorowaniem)", nullptr, &TOstrel3Main::miExportRTF1Click},
};

constexpr TCommandItem kRecodeItems[] = {
    {"miPrzekodujNaISO1", "&ISO-8859-2", "Shift+Ctrl+F8", &TOstrel3Main::miPrzekodujNaISO1Click},
    {"miPrzekodujNaWindows1", "&Windows CP-1250", "Shift+Ctrl+F7", &TOstrel3Main::miPrzekodujNaWindows1Click},
    {"miPrzekodujNaBezPolskich1", "&bez polskich znaków", "Shift+Ctrl+F9",
     &TOstrel3Main::miPrzekodujNaBezPolskich1Click},
};

QString Caption(const char* text) { return QString::fromUtf8(text); }

}  // namespace

QAction* TOstrel3Main::Item(QMenu* menu, const char* name, const QString& caption, const char* shortcut,
                            void (TOstrel3Main::*handler)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    if (shortcut)
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
    menu->addAction(action);
    return action;
}

QMenu* TOstrel3Main::SubMenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
    return menu;
}

void TOstrel3Main::SetItemEnabled(QAction* action, bool enabled)
{
    action->setEnabled(enabled);
}

void TOstrel3Main::CreateMenus()
{
    menuBar()->setObjectName(QStringLiteral("mmMenu1"));
    CreatePopupMenus();
    CreatePlikMenu();
    CreateEdycjaMenu();
    CreateFunkcjeMenu();
    CreateKodowanieMenu();
    CreatePomocMenu();
}

void TOstrel3Main::CreatePlikMenu()
{
    QMenu* plik = menuBar()->addMenu(QStringLiteral("&Plik"));
    plik->setObjectName(QStringLiteral("miPlik1"));
    connect(plik, &QMenu::aboutToShow, this, [this] { RunCommand(&TOstrel3Main::miPlik1Click); });
    Item(plik, "miNowy1", QStringLiteral("&Nowy"), nullptr, &TOstrel3Main::Nowy1Click);
    Item(plik, "miOtworz1", QStringLiteral("&Otwórz..."), "Ctrl+O", &TOstrel3Main::miOtworz1Click);
    Item(plik, "miZapisz1", QStringLiteral("&Zapisz"), "Ctrl+S", &TOstrel3Main::miZapisz1Click);
    Item(plik, "miZapiszjako1", QStringLiteral("Z&apisz jako..."), nullptr, &TOstrel3Main::miZapiszjako1Click);
    plik->addSeparator()->setObjectName(QStringLiteral("miSeparator1"));
    Item(plik, "miZapiszwszystkie1", QStringLiteral("Zapisz w&szystkie"), nullptr,
         &TOstrel3Main::miZapiszwszystkie1Click);
    Item(plik, "miZamknij1", QStringLiteral("Za&mknij"), "Ctrl+W", &TOstrel3Main::miZamknij1Click);
    Item(plik, "miZamknijWszystkie1", QStringLiteral("Zamknij &wszystkie"), nullptr,
         &TOstrel3Main::miZamknijWszystkie1Click);
    connect(plik, &QMenu::aboutToShow, this, [this] { RunCommand(&TOstrel3Main::UpdateExportItems); });
    QMenu* eksport = SubMenu(plik, "miEksport1", QStringLiteral("&Eksport"));
    for (const TCommandItem& item : kExportItems)
        Item(eksport, item.name, Caption(item.caption), item.shortcut, item.handler);
    Item(plik, "miUstawieniaDrukowania1", QStringLiteral("&Ustawienia drukowania..."), nullptr,
         &TOstrel3Main::miUstawieniadrukowania1Click);
    Item(plik, "miPodgladWydruku1", QStringLiteral("Podgląd wydruku..."), nullptr,
         &TOstrel3Main::miPodgladWydruku1Click);
    Item(plik, "miDrukuj1", QStringLiteral("D&rukuj..."), "Ctrl+P", &TOstrel3Main::miDrukuj1Click);
    Item(plik, "miZmienNazwe1", QStringLiteral("Zm&ień nazwę..."), nullptr, &TOstrel3Main::miZmienNazwe1Click);
    Item(plik, "miWlasciwosci1", QStringLiteral("&Właś&ciwości pliku"), nullptr,
         &TOstrel3Main::miWlasciwosci1Click);
    Item(plik, "miKoniec1", QStringLiteral("&Koniec"), nullptr, &TOstrel3Main::miKoniec1Click);
}

void TOstrel3Main::CreateEdycjaMenu()
{
    QMenu* edycja = menuBar()->addMenu(QStringLiteral("&Edycja"));
    edycja->setObjectName(QStringLiteral("Edycja1"));
    connect(edycja, &QMenu::aboutToShow, this, [this] { RunCommand(&TOstrel3Main::Edycja1Click); });
    Item(edycja, "miCofnij1", QStringLiteral("&Cofnij"), "Ctrl+Z", &TOstrel3Main::miCofnij1Click);
    Item(edycja, "miPowtorz1", QStringLiteral("&Powtórz"), "Shift+Ctrl+Z", &TOstrel3Main::miPowtorz1Click);
    Item(edycja, "miWytnij1", QStringLiteral("W&ytnij"), "Ctrl+X", &TOstrel3Main::miWytnij1Click);
    Item(edycja, "miKopiuj1", QStringLiteral("&Kopiuj"), "Ctrl+C", &TOstrel3Main::miKopiuj1Click);
    Item(edycja, "miDuplikujWiersz1", QStringLiteral("&Duplikuj wiersz"), "Shift+Ctrl+D",
         &TOstrel3Main::miDuplikujWiersz1Click);
    QMenu* wklej = SubMenu(edycja, "miWklej1", QStringLiteral("&Wklej"));
    Item(wklej, "miWklej2", QStringLiteral("&Wklej"), "Ctrl+V", &TOstrel3Main::miWklej1Click);
    Item(wklej, "miWklejdonowego1", QStringLiteral("Wklej &do nowego"), nullptr,
         &TOstrel3Main::miWklejdonowego1Click);
    QMenu* usun = SubMenu(edycja, "miUsun1", QStringLiteral("&Usuń"));
    Item(usun, "miUsun2", QStringLiteral("&Usuń"), nullptr, &TOstrel3Main::miUsun1Click);
    Item(usun, "miUsunWiersz1", QStringLiteral("Usuń w&iersz"), "F8", &TOstrel3Main::miUsunWiersz1Click);
    Item(edycja, "miZnajdz1", QStringLiteral("&Znajdź..."), "Ctrl+F", &TOstrel3Main::miZnajdz1Click);
    Item(edycja, "miZnajdzNastepny1", QStringLiteral("Z&najdź następny"), "F3",
         &TOstrel3Main::miZnajdzNastepny1Click);
    Item(edycja, "miZnajdzPoprzedni1", QStringLiteral("Znajdź &poprzedni"), "Shift+F3",
         &TOstrel3Main::miZnajdzPoprzedni1Click);
    Item(edycja, "miZamien1", QStringLiteral("Za&mień..."), nullptr, &TOstrel3Main::miZamien1Click);
    Item(edycja, "miWyrazeniaRegularne1", QStringLiteral("Wyrażenia &regularne"), nullptr,
         &TOstrel3Main::miWyrazeniaRegularne1Click)
        ->setCheckable(true);
    QMenu* data = SubMenu(edycja, "miData1", QStringLiteral("&Data"));
    for (const TDateItem& item : kDateItems) {
        const QString format = QString::fromLatin1(item.format);
        connect(Item(data, item.name, Caption(item.caption), nullptr, nullptr), &QAction::triggered, this,
                [this, format] { RunCommand([this, format] { InsertDate(format); }); });
    }
    Item(data, "miGodzina1", QStringLiteral("&Godzina"), nullptr, &TOstrel3Main::miGodzina1Click);
    Item(data, "miGodzinaIData1", QStringLiteral("G&odzina i data"), "F5", &TOstrel3Main::miGodzinaIData1Click);
    Item(edycja, "miIdzDoWiersza1", QStringLiteral("I&dź do wiersza..."), "Ctrl+G",
         &TOstrel3Main::miIdzDoWiersza1Click);
    Item(edycja, "miZaznaczanieKolumn1", QStringLiteral("Z&aznaczanie kolumn"), nullptr,
         &TOstrel3Main::miZaznaczanieKolumn1Click)
        ->setCheckable(true);
    Item(edycja, "miZaznaczWszystko1", QStringLiteral("&Zaznacz wszystko"), "Ctrl+A",
         &TOstrel3Main::miZaznaczWszystko1Click);
    QMenu* zmien = SubMenu(edycja, "miZmienZaznaczenie1", QStringLiteral("Zm&ień zaznaczenie na"));
    for (const TCommandItem& item : kCaseItems)
        Item(zmien, item.name, Caption(item.caption), item.shortcut, item.handler);
    Item(edycja, "miZawijanieWierszy1", QStringLiteral("Zawi&janie wierszy"), nullptr,
         &TOstrel3Main::miZawijanieWierszy1Click)
        ->setCheckable(true);
}

void TOstrel3Main::CreateFunkcjeMenu()
{
    QMenu* funkcje = menuBar()->addMenu(QStringLiteral("&Funkcje"));
    funkcje->setObjectName(QStringLiteral("miFunkcje1"));
    connect(funkcje, &QMenu::aboutToShow, this, [this] { RunCommand(&TOstrel3Main::miFunkcje1Click); });
    QMenu* kolorowanie = SubMenu(funkcje, "miKolorowanieSkladni1", QStringLiteral("&Kolorowanie składni"));
    kolorowanieMenuGroup_ = new QActionGroup(this);
    AddHighlighterItems(kolorowanie, "miKolorowanie", QStringLiteral("&brak"), kolorowanieMenuGroup_);
    QMenu* przekoduj = SubMenu(funkcje, "miPrzekoduj1", QStringLiteral("P&rzekoduj na"));
    for (const TCommandItem& item : kRecodeItems)
        Item(przekoduj, item.name, Caption(item.caption), item.shortcut, item.handler);
    Item(funkcje, "miZakomentuj1", QStringLiteral("Z&akomentuj"), nullptr, &TOstrel3Main::miZakomentuj1Click);
    CreateWstawHtmlMenu(funkcje);
    Item(funkcje, "miUruchomPlik1", QStringLiteral("&Uruchom plik"), nullptr, &TOstrel3Main::miUruchomPlik1Click);
    Item(funkcje, "miWyslijNaFTP1", QStringLiteral("&Wyślij na FTP"), "Shift+Ctrl+F",
         &TOstrel3Main::miWyslijNaFtp1Click);
    Item(funkcje, "miKonfiguracja1", QStringLiteral("&Konfiguracja..."), nullptr, &TOstrel3Main::miKonfiguracja1Click);
    Item(funkcje, "miUkryteZnaki1", QStringLiteral("Pokaż ukr&yte znaki"), nullptr,
         &TOstrel3Main::miUkryteZnaki1Click)
        ->setCheckable(true);
    QMenu* zakladki = SubMenu(funkcje, "miPrzelaczZakladki1", QStringLiteral("Przełącz zakładki"));
    Item(zakladki, "miNastepna1", QStringLiteral("&Następna"), "Ctrl+Tab", &TOstrel3Main::miNastepna1Click);
    Item(zakladki, "miPoprzednia1", QStringLiteral("&Poprzednia"), "Shift+Ctrl+Tab",
         &TOstrel3Main::miPoprzednia1Click);
    Item(funkcje, "miDoSzufladki1", QStringLiteral("&Do szufladki"), "Alt+F5", &TOstrel3Main::miDoSzufladki1Click);
}

void TOstrel3Main::CreateWstawHtmlMenu(QMenu* parent)
{
    QMenu* html = SubMenu(parent, "miWstawHTML1", QStringLiteral("Wstaw &HTML"));
    for (const THtmlItem& item : kHtmlItems)
        AddHtmlItem(html, item.name, Caption(item.caption), item.shortcut, item.open, item.close);
    QMenu* wyrownaj = SubMenu(html, "miWyrownaj1", QStringLiteral("&Wyrównaj"));
    for (const THtmlItem& item : kAlignItems)
        AddHtmlItem(wyrownaj, item.name, Caption(item.caption), item.shortcut, item.open, item.close);
    Item(html, "miWartoscKoloru1", QStringLiteral("Wartość &koloru"), "Shift+Ctrl+K",
         &TOstrel3Main::miWartoscKoloru1Click);
}

void TOstrel3Main::AddHtmlItem(QMenu* menu, const char* name, const QString& caption, const char* shortcut,
                               const char* open, const char* close)
{
    connect(Item(menu, name, caption, shortcut, nullptr), &QAction::triggered, this, [this, open, close] {
        RunCommand([this, open, close] { close ? WrapInTags(open, close) : InsertHtml(open); });
    });
}

void TOstrel3Main::CreatePomocMenu()
{
    QMenu* pomoc = menuBar()->addMenu(QStringLiteral("Pomo&c"));
    pomoc->setObjectName(QStringLiteral("miPomocMenu1"));
    Item(pomoc, "miPomoc1", QStringLiteral("&Pomoc"), "F1", &TOstrel3Main::miPomoc1Click);
    Item(pomoc, "miOprogramie1", QStringLiteral("&O programie..."), nullptr, &TOstrel3Main::miOprogramie1Click);
}

// The language items; a language whose lexer does not exist stays disabled.
void TOstrel3Main::AddHighlighterItems(QMenu* menu, const char* prefix, const QString& noneCaption,
                                       QActionGroup* group)
{
    const QString base = QString::fromLatin1(prefix);
    auto addRadio = [&](THighlighterId id, const QString& caption, const QString& suffix) {
        QAction* action = Item(menu, "", caption, nullptr, nullptr);
        action->setObjectName(base + suffix);
        action->setCheckable(true);
        action->setData(static_cast<int>(id));
        action->setEnabled(id == hlNone || highlighters_.Get(id) != nullptr);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, id] { RunCommand([this, id] { SetCurrentHighlighter(id); }); });
    };
    addRadio(hlNone, noneCaption, QStringLiteral("Brak1"));
    for (const TOstLanguage& language : Languages())
        addRadio(language.id, Caption(language.menuCaption), QString::fromLatin1(language.instanceName).mid(2));
    group->actions().first()->setChecked(true);
}

void TOstrel3Main::AddNewDocumentItems(QMenu* menu)
{
    auto addItem = [&](THighlighterId id, const QString& caption, const QString& name) {
        QAction* action = Item(menu, "", caption, nullptr, nullptr);
        action->setObjectName(name);
        action->setEnabled(id == hlNone || highlighters_.Get(id) != nullptr);
        connect(action, &QAction::triggered, this,
                [this, id] { RunCommand([this, id] { NewDocumentOfType(id); }); });
    };
    addItem(hlNone, QStringLiteral("TXT"), QStringLiteral("pmiNowyTXT1"));
    for (const TOstLanguage& language : Languages()) {
        QString suffix = QString::fromLatin1(language.instanceName).mid(2);
        suffix.chop(1);
        addItem(language.id, Caption(language.menuCaption), QStringLiteral("pmiNowy") + suffix.toUpper() + u'1');
    }
}

void TOstrel3Main::CreatePopupMenus()
{
    pmNowy1 = new QMenu(this);
    pmNowy1->setObjectName(QStringLiteral("pmNowy1"));
    AddNewDocumentItems(pmNowy1);

    pmKolorowanie1 = new QMenu(this);
    pmKolorowanie1->setObjectName(QStringLiteral("pmKolorowanie1"));
    kolorowaniePopupGroup_ = new QActionGroup(this);
    AddHighlighterItems(pmKolorowanie1, "pmiKolorowanie", QStringLiteral("brak"), kolorowaniePopupGroup_);
    connect(pmKolorowanie1, &QMenu::aboutToShow, this,
            [this] { RunCommand(&TOstrel3Main::pmKolorowanie1Popup); });

    pmMain1 = new QMenu(this);
    pmMain1->setObjectName(QStringLiteral("pmMain1"));
    connect(pmMain1, &QMenu::aboutToShow, this, [this] { RunCommand(&TOstrel3Main::pmMain1Popup); });
    Item(pmMain1, "pmiCofnij1", QStringLiteral("&Cofnij"), nullptr, &TOstrel3Main::miCofnij1Click);
    Item(pmMain1, "pmiPowtorz1", QStringLiteral("&Powtórz"), nullptr, &TOstrel3Main::miPowtorz1Click);
    pmMain1->addSeparator();
    Item(pmMain1, "pmiWytnij1", QStringLiteral("W&ytnij"), nullptr, &TOstrel3Main::miWytnij1Click);
    Item(pmMain1, "pmiKopiuj1", QStringLiteral("&Kopiuj"), nullptr, &TOstrel3Main::miKopiuj1Click);
    Item(pmMain1, "pmiWklej1", QStringLiteral("&Wklej"), nullptr, &TOstrel3Main::miWklej1Click);
    Item(pmMain1, "pmiUsun1", QStringLiteral("&Usuń"), nullptr, &TOstrel3Main::miUsun1Click);
    pmMain1->addSeparator();
    Item(pmMain1, "pmiZaznaczWszystko1", QStringLiteral("Zaznacz wszystko"), nullptr,
         &TOstrel3Main::miZaznaczWszystko1Click);
    pmMain1->addSeparator();
    QMenu* ustaw = SubMenu(pmMain1, "pmiUstawZnacznik1", QStringLiteral("Ustaw &znacznik"));
    QMenu* idz = SubMenu(pmMain1, "pmiIdzDoZnacznika1", QStringLiteral("&Idź do znacznika"));
    for (int n = 0; n < 10; ++n) {
        const QByteArray digit = QByteArray::number(n);
        QAction* set = Item(ustaw, ("pmiUstawZnacznik" + digit).constData(), QString::number(n), nullptr, nullptr);
        set->setData(n);
        connect(set, &QAction::triggered, this, [this, n] { RunCommand([this, n] { SetBookmark(n); }); });
        QAction* go = Item(idz, ("pmiIdzDoZnacznika" + digit).constData(), QString::number(n), nullptr, nullptr);
        go->setData(n);
        connect(go, &QAction::triggered, this, [this, n] { RunCommand([this, n] { GotoBookmark(n); }); });
    }
    pmMain1->addSeparator();
    Item(pmMain1, "pmiZamknij1", QStringLiteral("Za&mknij"), nullptr, &TOstrel3Main::miZamknij1Click);

    pmPasek1 = new QMenu(this);
    pmPasek1->setObjectName(QStringLiteral("pmPasek1"));
    Item(pmPasek1, "pmiKonfiguracja1", QStringLiteral("&Konfiguracja..."), nullptr,
         &TOstrel3Main::miKonfiguracja1Click);

    // The tray icon's menu; its default item is drawn bold.
    pmTray1 = new QMenu(this);
    pmTray1->setObjectName(QStringLiteral("pmTray1"));
    QAction* przywroc = Item(pmTray1, "pmiPrzywroc1", QStringLiteral("&Przywróć"), nullptr,
                             &TOstrel3Main::stTray1DblClick);
    QFont bold = przywroc->font();
    bold.setBold(true);
    przywroc->setFont(bold);
    pmTray1->setDefaultAction(przywroc);
    pmTray1->addSeparator();
    Item(pmTray1, "pmiOtworz1", QStringLiteral("&Otwórz..."), nullptr, &TOstrel3Main::pmiOtworz1Click);
    pmTray1->addSeparator();
    Item(pmTray1, "pmiKoniec1", QStringLiteral("&Koniec"), nullptr, &TOstrel3Main::pmiKoniec1Click);
}

QAction* TOstrel3Main::ToolButton(const char* name, const QString& caption, const QString& hint,
                                  const char* iconName, void (TOstrel3Main::*handler)())
{
    auto* action = new QAction(ThemeIcon(QString::fromLatin1(iconName)), caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
    tbStandardowy1->addAction(action);
    return action;
}

void TOstrel3Main::CreateToolBar()
{
    tbStandardowy1 = addToolBar(QStringLiteral("Standardowy"));
    tbStandardowy1->setObjectName(QStringLiteral("tbStandardowy1"));
    // Icons, with the captions as tooltips, keep the bar within the window.
    tbStandardowy1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbStandardowy1->setIconSize(QSize(16, 16));
    tbStandardowy1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tbStandardowy1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmPasek1->popup(tbStandardowy1->mapToGlobal(at)); });

    QAction* nowy = ToolButton("tbNowy1", QStringLiteral("Nowy"), QStringLiteral("Nowy"), "document-new",
                               &TOstrel3Main::Nowy1Click);
    nowy->setMenu(pmNowy1);
    if (auto* button = qobject_cast<QToolButton*>(tbStandardowy1->widgetForAction(nowy)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    ToolButton("tbOtworz1", QStringLiteral("Otwórz..."), QStringLiteral("Otwórz..."), "document-open",
               &TOstrel3Main::miOtworz1Click);
    ToolButton("tbZapisz1", QStringLiteral("Zapisz"), QStringLiteral("Zapisz"), "document-save",
               &TOstrel3Main::miZapisz1Click);
    tbStandardowy1->addSeparator();
    ToolButton("tbZapiszJako1", QStringLiteral("Zapisz jako"), QStringLiteral("Zapisz jako..."),
               "document-save-as", &TOstrel3Main::miZapiszjako1Click);
    ToolButton("tbZapiszWszystkie1", QStringLiteral("Zapisz wszystkie"), QStringLiteral("Zapisz wszystkie"),
               "document-save-all", &TOstrel3Main::miZapiszwszystkie1Click);
    tbStandardowy1->addSeparator();
    ToolButton("tbDrukuj1", QStringLiteral("Drukuj"), QStringLiteral("Drukuj"), "document-print",
               &TOstrel3Main::miDrukuj1Click);
    tbStandardowy1->addSeparator();
    ToolButton("tbUsun1", QStringLiteral("Usuń"), QStringLiteral("Usuń"), "edit-delete",
               &TOstrel3Main::miUsun1Click);
    ToolButton("tbWytnij1", QStringLiteral("Wytnij"), QStringLiteral("Wytnij"), "edit-cut",
               &TOstrel3Main::miWytnij1Click);
    ToolButton("tbKopiuj1", QStringLiteral("Kopiuj"), QStringLiteral("Kopiuj"), "edit-copy",
               &TOstrel3Main::miKopiuj1Click);
    ToolButton("tbWklej1", QStringLiteral("Wklej"), QStringLiteral("Wklej"), "edit-paste",
               &TOstrel3Main::miWklej1Click);
    tbStandardowy1->addSeparator();
    ToolButton("tbCofnij1", QStringLiteral("Cofnij"), QStringLiteral("Cofnij"), "edit-undo",
               &TOstrel3Main::miCofnij1Click);
    ToolButton("tbPowtorz1", QStringLiteral("Powtórz"), QStringLiteral("Powtórz"), "edit-redo",
               &TOstrel3Main::miPowtorz1Click);
    tbStandardowy1->addSeparator();
    QAction* kolorowanie = ToolButton("tbKolorowanie1", QStringLiteral("Kolorowanie składni"),
                                      QStringLiteral("Kolorowanie składni"), "format-text-color", nullptr);
    kolorowanie->setMenu(pmKolorowanie1);
    if (auto* button = qobject_cast<QToolButton*>(tbStandardowy1->widgetForAction(kolorowanie)))
        button->setPopupMode(QToolButton::InstantPopup);
    tbStandardowy1->addSeparator();
    ToolButton("tbZamknij1", QStringLiteral("Zamknij"), QStringLiteral("Zamknij"), "window-close",
               &TOstrel3Main::miZamknij1Click);
}

void TOstrel3Main::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatus1"));
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this,
            [this, bar](const QPoint& at) { pmPasek1->popup(bar->mapToGlobal(at)); });
    const int widths[3] = {100, 75, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 2) {
            panel->setFixedWidth(widths[i]);
            panel->setAlignment(Qt::AlignCenter);
        } else {
            // The last panel reaches to the window's edge, as hints are long.
            panel->setMinimumWidth(widths[i]);
        }
        bar->addWidget(panel, i == 2 ? 1 : 0);
        statusPanels_[i] = panel;
    }
    encodingPanel_ = new QLabel(bar);
    encodingPanel_->setObjectName(QStringLiteral("sbKodowanie1"));
    encodingPanel_->setFrameShape(QFrame::StyledPanel);
    encodingPanel_->setFrameShadow(QFrame::Sunken);
    encodingPanel_->setAlignment(Qt::AlignCenter);
    encodingPanel_->setMinimumWidth(90);
    bar->addPermanentWidget(encodingPanel_);
}

QString TOstrel3Main::StatusPanelText(int panel) const
{
    return panel >= 0 && panel < 3 ? statusPanels_[panel]->text() : QString();
}

void TOstrel3Main::CheckHighlighterItem(QActionGroup* group)
{
    const TDocumentPage* document = CurrentDocument();
    const THighlighterId id = document ? highlighters_.IdOf(document->Highlighter()) : hlNone;
    for (QAction* action : group->actions())
        if (action->data().toInt() == id)
            action->setChecked(true);
}

// Whether a key is one of the enabled menu shortcuts, which come before the
// editor's own keys.
bool TOstrel3Main::IsMenuShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    const QList<QAction*> actions = findChildren<QAction*>();
    return std::any_of(actions.begin(), actions.end(), [&](const QAction* action) {
        return action->isEnabled() && !action->shortcut().isEmpty() &&
               action->shortcut().matches(pressed) == QKeySequence::ExactMatch;
    });
}

}  // namespace ostrel
