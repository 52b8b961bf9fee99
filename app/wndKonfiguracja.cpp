#include "app/wndKonfiguracja.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Document.h"
#include "app/Mein.h"
#include "app/ShellIntegration.h"
#include "app/UiGuards.h"
#include "app/qt/KeyTranslation.h"
#include "app/qt/QtCanvas.h"
#include "platform/OstRegistry.h"

namespace ostrel {

namespace {

// In the order of the stored "Syntax" index.
const char* const kHighlighterItems[] = {"brak", "HTML", "PHP", "CSS", "XML", "JScript",
                                         "VBScript", "C++", "Pascal", "Java", "SQL", "Perl"};

const char* const kRecodingItems[] = {"nie zmieniaj kodowania", "ISO-8859-2", "Windows CP-1250"};

}  // namespace

TwndKonfiguracja::TwndKonfiguracja(TOstrel3Main& owner) : QDialog(&owner, Qt::Tool), owner_(owner)
{
    setObjectName(QStringLiteral("TwndKonfiguracja"));
    setWindowTitle(QStringLiteral("Konfiguracja"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pcKonfiguracja1"));
    tabs_->addTab(CreateEdytorTab(), QStringLiteral("Edytor"));
    tabs_->addTab(CreateSystemTab(), QStringLiteral("System"));
    layout->addWidget(tabs_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* ok = Button(this, "btnOk1", QStringLiteral("&Ok"), [this] { btnOk1Click(); });
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(Button(this, "btnAnuluj1", QStringLiteral("&Anuluj"), [this] { btnAnuluj1Click(); }));
    layout->addLayout(buttons);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QPushButton* TwndKonfiguracja::Button(QWidget* parent, const char* name, const QString& caption,
                                      const std::function<void()>& handler)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, handler] { Run(handler); });
    return button;
}

QCheckBox* TwndKonfiguracja::CheckBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QWidget* TwndKonfiguracja::CreateEdytorTab()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsEdytor1"));
    auto* layout = new QVBoxLayout(page);
    auto* dialogs = new QHBoxLayout;
    dialogs->addWidget(Button(page, "sbEditorFont1", QStringLiteral("&Czcionka edytora"),
                              [this] { sbEditorFont1Click(); }));
    dialogs->addWidget(Button(page, "sbKolorTla1", QStringLiteral("&Kolor tła edytora"),
                              [this] { sbKolorTla1Click(); }));
    layout->addLayout(dialogs);

    auto* syntax = new QGroupBox(QStringLiteral("Domyślne kolorowanie składni"), page);
    syntax->setObjectName(QStringLiteral("gbDomyslneKolorowanie1"));
    auto* syntaxLayout = new QHBoxLayout(syntax);
    auto* label = new QLabel(QStringLiteral("Rodzaj kolorowania:"), syntax);
    cbRodzajKolorowania1 = new QComboBox(syntax);
    cbRodzajKolorowania1->setObjectName(QStringLiteral("cbRodzajKolorowania1"));
    for (const char* item : kHighlighterItems)
        cbRodzajKolorowania1->addItem(QString::fromUtf8(item));
    label->setBuddy(cbRodzajKolorowania1);
    syntaxLayout->addWidget(label);
    syntaxLayout->addWidget(cbRodzajKolorowania1, 1);
    layout->addWidget(syntax);
    layout->addWidget(CreateEncodingGroup());

    auto* row = new QHBoxLayout;
    row->addWidget(CreateOptionsGroup(), 1);
    row->addWidget(CreateRecodingGroup(), 1);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

QWidget* TwndKonfiguracja::CreateEncodingGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Domyślne kodowanie"), this);
    group->setObjectName(QStringLiteral("gbDomyslneKodowanie1"));
    auto* layout = new QHBoxLayout(group);
    auto* label = new QLabel(QStringLiteral("Nowe dokumenty i pliki bez polskich znaków:"), group);
    cbDomyslneKodowanie1 = new QComboBox(group);
    cbDomyslneKodowanie1->setObjectName(QStringLiteral("cbDomyslneKodowanie1"));
    for (int i = 0; i < kEncodingCount; ++i) {
        const std::string_view title = EncodingTitle(static_cast<TOstEncoding>(i));
        cbDomyslneKodowanie1->addItem(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));
    }
    label->setBuddy(cbDomyslneKodowanie1);
    layout->addWidget(label);
    layout->addWidget(cbDomyslneKodowanie1, 1);
    return group;
}

QWidget* TwndKonfiguracja::CreateOptionsGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Opcje edytora"), this);
    group->setObjectName(QStringLiteral("gbOpcjeEdytora1"));
    auto* layout = new QVBoxLayout(group);
    cbNumeryLiniiNaGutter1 =
        CheckBox(group, "cbNumeryLiniiNaGutter1", QStringLiteral("Numery linii po lewej stronie"));
    cbGutter1 = CheckBox(group, "cbGutter1", QStringLiteral("\"Rynna\" po lewej stronie"));
    cbMinTray1 = CheckBox(group, "cbMinTray1", QStringLiteral("Minimalizuj do szufladki"));
    cbTabsToSpace1 = CheckBox(group, "cbTabsToSpace1", QStringLiteral("Spacje zamiast tabulacji"));
    cbPasekStatusu1 = CheckBox(group, "cbPasekStatusu1", QStringLiteral("Pasek statusu"));
    cbPasekStandardowy1 = CheckBox(group, "cbPasekStandardowy1", QStringLiteral("Pasek standardowy"));
    cbPasekWyszukiwania1 = CheckBox(group, "cbPasekWyszukiwania1", QStringLiteral("Pasek wyszukiwania"));
    cbPrzywracajSesje1 = CheckBox(group, "cbPrzywracajSesje1", QStringLiteral("Przywracaj otwarte dokumenty"));
    for (QCheckBox* box : {cbNumeryLiniiNaGutter1, cbGutter1, cbMinTray1, cbTabsToSpace1, cbPasekStatusu1,
                           cbPasekStandardowy1, cbPasekWyszukiwania1, cbPrzywracajSesje1})
        layout->addWidget(box);
    // The two boxes are coupled on every change, also while the window
    // fills them: numbers need the gutter, and no gutter means no numbers.
    connect(cbNumeryLiniiNaGutter1, &QCheckBox::toggled, this, [this](bool on) { SetLineNumbers(on); });
    connect(cbGutter1, &QCheckBox::toggled, this, [this] { cbGutter1Click(); });
    return group;
}

QWidget* TwndKonfiguracja::CreateRecodingGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Koduj przed zapisem do"), this);
    group->setObjectName(QStringLiteral("rgKodujPrzedZapisem1"));
    auto* layout = new QVBoxLayout(group);
    for (int i = 0; i < 3; ++i) {
        rbKoduj_[i] = new QRadioButton(QString::fromUtf8(kRecodingItems[i]), group);
        rbKoduj_[i]->setObjectName(QStringLiteral("rbKoduj%1").arg(i));
        layout->addWidget(rbKoduj_[i]);
    }
    layout->addStretch(1);
    return group;
}

QWidget* TwndKonfiguracja::CreateSystemTab()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsSystem1"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Button(page, "sbSystemHtmlEdytor1",
                             QStringLiteral("Ustaw Ostrel jako domyślny edytor plików HTML"),
                             [this] { WithShell([](TShellIntegration& shell) { shell.UseOstrelForHtml(); }); }));
    layout->addWidget(Button(page, "sbDefaultOstrel1",
                             QStringLiteral("Ustaw Ostrel jako domyślny program do plików tekstowych (*.txt)"),
                             [this] { WithShell([](TShellIntegration& shell) { shell.UseOstrelForText(); }); }));
    layout->addWidget(Button(page, "sbDefaultNotatnik1",
                             QStringLiteral("Ustaw Notatnik jako domyślny program do plików tekstowych (*.txt)"),
                             [this] { WithShell([](TShellIntegration& shell) { shell.UseNotepadForText(); }); }));
    auto* groups = new QHBoxLayout;
    groups->addWidget(CreateShortcutGroup("gbSkrotStart1", QStringLiteral("Skrót w menu Start"),
                                          TShortcutFolder::Programs, "sbSkrotStart1", "sbUsunSkrotStart1"));
    groups->addWidget(CreateShortcutGroup("gbSkrotSendTo1", QStringLiteral("Skrót w menu \"Wyślij do\""),
                                          TShortcutFolder::SendTo, "sbSkrotSendTo1", "sbUsunSkrotSendTo1"));
    layout->addLayout(groups);
    cbAutostart1 = CheckBox(page, "cbAutostart1",
                            QStringLiteral("Uruchamiaj program (w szufladce systemowej) przy starcie systemu"));
    connect(cbAutostart1, &QCheckBox::toggled, this, [this] { Run([this] { cbAutostart1Click(); }); });
    layout->addWidget(cbAutostart1);
    layout->addStretch(1);
    return page;
}

QWidget* TwndKonfiguracja::CreateShortcutGroup(const char* name, const QString& caption, TShortcutFolder folder,
                                               const char* createName, const char* removeName)
{
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(QString::fromLatin1(name));
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(Button(group, createName, QStringLiteral("Utwórz skrót"), [this, folder] {
        WithShell([folder](TShellIntegration& shell) { shell.CreateShortcut(folder); });
    }));
    layout->addWidget(Button(group, removeName, QStringLiteral("Usuń skrót"), [this, folder] {
        WithShell([folder](TShellIntegration& shell) { shell.RemoveShortcut(folder); });
    }));
    return group;
}

void TwndKonfiguracja::Run(const std::function<void()>& command) { owner_.RunCommand(command); }

void TwndKonfiguracja::WithShell(const std::function<void(TShellIntegration&)>& action)
{
    TRegistry registry;
    TShellIntegration shell(registry, owner_.Dialogs(), this);
    action(shell);
    registry.Flush();
}

void TwndKonfiguracja::FormShow()
{
    ShowDefaultHighlighter();
    ShowCurrentOptions();
    // Filling the box only shows what exists; it must not rewrite the
    // user's shortcut each time the window opens.
    const QSignalBlocker quiet(cbAutostart1);
    bool autostart = false;
    Run([&] { WithShell([&](TShellIntegration& shell) { autostart = shell.AutostartExists(); }); });
    cbAutostart1->setChecked(autostart);
}

void TwndKonfiguracja::ShowDefaultHighlighter()
{
    cbRodzajKolorowania1->setCurrentIndex(owner_.Highlighters().IdOf(owner_.Template().Highlighter()));
}

void TwndKonfiguracja::ShowCurrentOptions()
{
    const TOstEdit& wzor = owner_.Template();
    cbNumeryLiniiNaGutter1->setChecked(wzor.Gutter().ShowLineNumbers());
    cbPasekStandardowy1->setChecked(owner_.ToolbarShown());
    cbPasekStatusu1->setChecked(owner_.StatusBarShown());
    cbGutter1->setChecked(wzor.Gutter().Visible());
    cbMinTray1->setChecked(owner_.MinToTray);
    cbPasekWyszukiwania1->setChecked(owner_.FindBarEnabled);
    cbPrzywracajSesje1->setChecked(owner_.RestoreSession);
    rbKoduj_[std::clamp(owner_.DecodeBeforeSave, 0, 2)]->setChecked(true);
    dialogColor_ = wzor.Color();
    cbTabsToSpace1->setChecked(wzor.HasOption(eoTabsToSpaces));
    cbDomyslneKodowanie1->setCurrentIndex(static_cast<int>(owner_.DefaultEncoding));
    dialogFont_ = wzor.Font();
}

void TwndKonfiguracja::SetLineNumbers(bool on)
{
    if (on)
        cbGutter1->setChecked(true);
}

void TwndKonfiguracja::cbGutter1Click()
{
    if (!cbGutter1->isChecked())
        cbNumeryLiniiNaGutter1->setChecked(false);
}

void TwndKonfiguracja::cbAutostart1Click()
{
    const bool on = cbAutostart1->isChecked();
    WithShell([on](TShellIntegration& shell) { shell.SetAutostart(on); });
}

void TwndKonfiguracja::sbEditorFont1Click()
{
    // The dialog starts on the family the editor really draws with: a
    // stored name the system lacks stands for the monospaced one put in
    // its place, not for whatever a lookup of the name would offer.
    const QString inUse = QtCanvas::InstalledFamily(dialogFont_.Name);
    QFont initial(inUse);
    initial.setPointSize(dialogFont_.Size() > 0 ? dialogFont_.Size() : 10);
    const std::optional<QFont> chosen = owner_.Dialogs().ChooseEditorFont(this, initial);
    if (!chosen)
        return;
    dialogFont_.Name = ToAnsi(chosen->family());
    if (chosen->pointSize() > 0)
        dialogFont_.SetSize(chosen->pointSize());
}

void TwndKonfiguracja::sbKolorTla1Click()
{
    const std::optional<QColor> chosen = owner_.Dialogs().ChooseColor(this, QtCanvas::ToQColor(dialogColor_));
    if (!chosen)
        return;
    dialogColor_ = RGBColor(static_cast<uint8_t>(chosen->red()), static_cast<uint8_t>(chosen->green()),
                            static_cast<uint8_t>(chosen->blue()));
    ApplyBackgroundColor(dialogColor_);
}

void TwndKonfiguracja::ApplyBackgroundColor(TColor color)
{
    const TUpdatesFrozen frozen(&owner_);
    owner_.Template().SetColor(color);
    for (int i = owner_.DocumentCount() - 1; i >= 0; --i)
        owner_.DocumentAt(i)->Editor().SetColor(color);
}

void TwndKonfiguracja::SetDefaultHighlighter(int index)
{
    if (index >= hlNone && index <= kHighlighterCount)
        owner_.Template().SetHighlighter(owner_.Highlighters().Get(static_cast<THighlighterId>(index)));
}

void TwndKonfiguracja::ApplyEditorOptions()
{
    const TUpdatesFrozen frozen(&owner_);
    TOstEdit& wzor = owner_.Template();
    const bool lineNumbers = cbNumeryLiniiNaGutter1->isChecked();
    const bool gutter = cbGutter1->isChecked();
    wzor.Gutter().SetShowLineNumbers(lineNumbers);
    wzor.Gutter().SetVisible(gutter);
    owner_.ShowToolbar(cbPasekStandardowy1->isChecked());
    owner_.ShowStatusBar(cbPasekStatusu1->isChecked());
    wzor.SetOption(eoTabsToSpaces, cbTabsToSpace1->isChecked());
    TOstFont font = wzor.Font();
    font.Name = dialogFont_.Name;
    if (dialogFont_.Size() > 0)
        font.SetSize(dialogFont_.Size());
    wzor.SetFont(font);
    owner_.MinToTray = cbMinTray1->isChecked();
    owner_.FindBarEnabled = cbPasekWyszukiwania1->isChecked();
    owner_.RestoreSession = cbPrzywracajSesje1->isChecked();
    owner_.DefaultEncoding = static_cast<TOstEncoding>(std::clamp(cbDomyslneKodowanie1->currentIndex(), 0,
                                                                   kEncodingCount - 1));
    for (int i = 0; i < 3; ++i)
        if (rbKoduj_[i]->isChecked())
            owner_.SetDecodeBeforeSave(i);
    for (int i = owner_.DocumentCount() - 1; i >= 0; --i) {
        TOstEdit& editor = owner_.DocumentAt(i)->Editor();
        editor.Gutter().SetVisible(gutter);
        editor.Gutter().SetShowLineNumbers(lineNumbers);
        editor.SetOptions(wzor.Options());
        editor.SetFont(wzor.Font());
    }
}

void TwndKonfiguracja::btnOk1Click()
{
    SetDefaultHighlighter(cbRodzajKolorowania1->currentIndex());
    ApplyEditorOptions();
    owner_.SaveConfigurationSettings();
    accept();
}

void TwndKonfiguracja::btnAnuluj1Click() { reject(); }

}  // namespace ostrel
