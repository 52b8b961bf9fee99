#include "app/help.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ostrel {

namespace {

const char* const kInstrukcja = R"(Ostrel 3.2 - edytor tekstu i kodu źródłowego

Co robi program
Ostrel jest edytorem plików tekstowych dla osób, które piszą strony WWW i skrypty. Każdy dokument otwiera się w osobnej zakładce; jednocześnie można edytować dowolnie wiele plików.

Możliwości
- kolorowanie składni: HTML, CSS, XML, PHP, JavaScript, VBScript, C++, Pascal, Java, SQL, Perl (wybierane według rozszerzenia pliku albo z menu Funkcje > Kolorowanie składni),
- wstawianie znaczników i encji HTML oraz wartości kolorów,
- przekodowywanie polskich znaków między ISO-8859-2 i Windows CP-1250 oraz usuwanie polskich znaków,
- eksport do UTF-8 i do RTF z kolorowaniem,
- wyszukiwanie i zamiana, także z wyrażeniami regularnymi,
- drukowanie z marginesami, nagłówkiem, stopką i podglądem,
- wysyłanie pliku na serwer FTP.

Co nowego
Wersja 3.2 działa jako jedna kopia programu: plik otwarty z menedżera plików, gdy Ostrel już działa, trafia do nowej zakładki działającej kopii. Pliki są zapisywane bezpiecznie: najpierw do pliku tymczasowego, który dopiero po udanym zapisie zastępuje stary plik.

Instalacja
Zbuduj program poleceniem "bash scripts/run.sh" albo zainstaluj go poleceniem "cmake --install" - program pojawi się wtedy w menu aplikacji pulpitu.
)";

const char* const kFaq = R"(Jakie parametry przyjmuje program?
Brany jest pod uwagę tylko pierwszy parametr (wielkość liter nie ma znaczenia):
  -h     program startuje ukryty w szufladce systemowej,
  -r     program nie wczytuje zapisanych ustawień i działa z ustawieniami domyślnymi,
  plik   podany plik otwiera się jako pierwszy dokument.
Bez parametru (albo z innym) program tworzy nowy, pusty dokument.

Dlaczego program po zminimalizowaniu znika z paska zadań?
Domyślnie minimalizacja chowa program do szufladki systemowej. Można to wyłączyć w oknie Funkcje > Konfiguracja..., odznaczając pole "Minimalizuj do szufladki".

Jak wciąć lub cofnąć wcięcie zaznaczonego bloku?
Shift+Ctrl+I wcina zaznaczone wiersze, Shift+Ctrl+U cofa wcięcie.

Jak działa wysyłanie na FTP?
Funkcje > Wyślij na FTP przygotowuje skrypt dla konsolowego klienta FTP systemu (adres serwera, użytkownik, hasło, folder i bieżący plik) i uruchamia klienta w oknie "Klient FTP", w którym widać jego rozmowę z serwerem i można wpisywać dalsze polecenia. Skrypt leży w prywatnym katalogu i znika, gdy tylko klient go przejmie. Na pasku stanu pojawia się informacja, czy plik dotarł na serwer.
Protokoły SFTP i FTPS (FTP z szyfrowaniem TLS) program obsługuje sam, w tle: pasek postępu pokazuje przesyłanie, a przycisk "Przerwij" je zatrzymuje. Nieznany klucz serwera SFTP lub niezaufany certyfikat serwera FTPS jest pokazywany z odciskiem SHA-256 i przyjmowany dopiero po potwierdzeniu; zmieniony klucz serwera SFTP jest odrzucany z ostrzeżeniem. Hasło nie jest zapisywane w żadnym pliku; na życzenie może trafić do magazynu haseł pulpitu. Każde wysyłanie ma limit czasu (domyślnie 5 minut).
)";

const char* const kSkroty = R"(Plik
  Ctrl+O              Otwórz...
  Ctrl+S              Zapisz
  Ctrl+W              Zamknij
  Ctrl+P              Drukuj...

Edycja
  Ctrl+Z              Cofnij
  Shift+Ctrl+Z        Powtórz
  Ctrl+X              Wytnij
  Ctrl+C              Kopiuj
  Ctrl+V              Wklej
  Shift+Ctrl+D        Duplikuj wiersz
  F8                  Usuń wiersz
  Ctrl+F              Znajdź...
  F3                  Znajdź następny
  F5                  Godzina i data
  Ctrl+G              Idź do wiersza...
  Ctrl+A              Zaznacz wszystko

Funkcje
  Shift+Ctrl+F8       Przekoduj na ISO-8859-2
  Shift+Ctrl+F7       Przekoduj na Windows CP-1250
  Shift+Ctrl+F9       Przekoduj bez polskich znaków
  Shift+Ctrl+F        Wyślij na FTP
  Ctrl+Tab            Następna zakładka
  Shift+Ctrl+Tab      Poprzednia zakładka
  Alt+F5              Do szufladki
  F1                  Pomoc

Wstaw HTML
  Ctrl+B              <B>...</B>
  Ctrl+I              <I>...</I>
  Ctrl+U              <U>...</U>
  Ctrl+D              <DIV>...</DIV>
  Shift+Ctrl+P        <P>...</P>
  Shift+Ctrl+1        <!-- ... -->
  Ctrl+Space          &nbsp;
  Ctrl+Enter          <BR>
  Shift+Ctrl+,        &lt;
  Shift+Ctrl+.        &gt;
  Shift+Ctrl+A        <A href="">...</A>
  Ctrl+L / Ctrl+E / Ctrl+R / Ctrl+J   wyrównanie do lewej / do środka / do prawej / justowanie
  Shift+Ctrl+K        Wartość koloru

Edytor
  strzałki, Home, End, PgUp, PgDn   ruch kursora (z Shift: zaznaczanie)
  Ctrl+strzałka w lewo/prawo        poprzednie/następne słowo
  Ctrl+Home, Ctrl+End               początek/koniec tekstu
  Ctrl+PgUp, Ctrl+PgDn              góra/dół okna
  Ctrl+strzałka w górę/dół          przewijanie o wiersz
  Ctrl+Backspace                    usuń poprzednie słowo
  Ctrl+T                            usuń następne słowo
  Ctrl+Y                            usuń wiersz
  Shift+Ctrl+Y                      usuń do końca wiersza
  Insert                            wstawianie/zastępowanie
  Ctrl+0 ... Ctrl+9                 idź do znacznika
  Shift+Ctrl+0 ... Shift+Ctrl+9     ustaw znacznik
  Shift+Ctrl+I, Shift+Ctrl+U        wcięcie, cofnięcie wcięcia bloku
  Shift+Ctrl+B                      nawias do pary
  Shift+Ctrl+N, Shift+Ctrl+C, Shift+Ctrl+L   zaznaczanie zwykłe, kolumnowe, wierszami
  Ctrl+F1                           pomoc kontekstowa
)";

QWidget* TextPage(const char* text, QWidget* parent)
{
    auto* page = new QTextBrowser(parent);
    page->setPlainText(QString::fromUtf8(text));
    page->setReadOnly(true);
    return page;
}

}  // namespace

TwndPomoc::TwndPomoc(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("TwndPomoc"));
    setWindowTitle(QStringLiteral("Pomoc..."));
    setMinimumSize(400, 250);
    resize(560, 420);
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(TextPage(kInstrukcja, tabs), QStringLiteral("Instrukcja obsługi"));
    tabs->addTab(TextPage(kFaq, tabs), QStringLiteral("F.A.Q."));
    tabs->addTab(TextPage(kSkroty, tabs), QStringLiteral("Skróty klawiszowe"));
    layout->addWidget(tabs);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace ostrel
