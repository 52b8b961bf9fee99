#pragma once
// The program's user-visible texts, in one table. Captions of menu items and
// buttons stay beside the menus that use them; these are the messages,
// prompts and fixed captions.

#include <QString>

namespace ostrel::res {

inline const QString kAppTitle = QStringLiteral("Ostrel 3");
inline const QString kMainCaption = QStringLiteral("Ostrel 3.2");
inline const QString kMessageCaption = QStringLiteral("Ostrel");
inline const QString kCaptionSeparator = QStringLiteral(" - ");
inline const QString kUntitled = QStringLiteral("Bez nazwy");
inline const QString kModified = QStringLiteral("Zmieniony");
inline const QString kNotModified = QStringLiteral("Nie zmieniony");
inline const QString kReleaseDate = QStringLiteral("28 stycznia 2004");

inline const QString kErrorPrefix = QStringLiteral("Wystapił błąd: ");
inline const QString kLoadError = QStringLiteral("Wystąpił błąd podczas wczytywania pliku.");
inline const QString kSaveError = QStringLiteral("Wystąpił błąd podczas zapisywania pliku.");
// The system's reasons a save gives after kSaveError.
inline const QString kReasonNoSpace = QStringLiteral("Brak miejsca na dysku.");
inline const QString kReasonTooLarge = QStringLiteral("Plik przekracza dozwolony rozmiar.");
inline const QString kReasonPermission = QStringLiteral("Brak uprawnień do zapisu.");
inline const QString kReasonNoFolder = QStringLiteral("Folder nie istnieje.");
inline const QString kReasonReadOnlyDisk = QStringLiteral("System plików jest tylko do odczytu.");
inline const QString kReasonIsFolder = QStringLiteral("Pod tą nazwą jest folder.");
inline const QString kReasonDevice = QStringLiteral("Błąd urządzenia (wejścia-wyjścia).");
// %1 the copy of a file's old contents that could not be put back.
inline const QString kOldContentsKept = QStringLiteral("Poprzednia zawartość pliku została zachowana w %1.");
// Changes on disk. %1 the file's path.
inline const QString kChangedOnDisk =
    QStringLiteral("Plik %1 został zmieniony przez inny program. Wczytać go ponownie i utracić zmiany?");
inline const QString kReloadedFromDisk = QStringLiteral("Plik %1 został zmieniony przez inny program i wczytany ponownie.");
inline const QString kGoneFromDisk = QStringLiteral("Plik %1 został usunięty lub przeniesiony przez inny program.");
inline const QString kSaveOverChange = QStringLiteral(
    "Plik %1 został zmieniony przez inny program od ostatniego wczytania lub zapisu. Zapisać go mimo to, zastępując tamte zmiany?");
// Crash recovery.
inline const QString kRecoveryPrompt = QStringLiteral(
    "Program nie został ostatnio zamknięty poprawnie. Te dokumenty miały niezapisane zmiany; "
    "zaznaczone zostaną przywrócone, pozostałe odrzucone:");
inline const QString kRecoveryRestore = QStringLiteral("&Przywróć");
inline const QString kRecoveryLater = QStringLiteral("Zapytaj &później");
inline const QString kReadOnlyFile =
    QStringLiteral("Plik ma ustawione atrybuty \"tylko do odczytu\". Nie mogę do niego zapisać.");
inline const QString kAlreadyOpen =
    QStringLiteral("Ten plik jest już otwarty w edytorze. Czy mimo to mam go otworzyć ?");
inline const QString kSaveChanges = QStringLiteral("Plik został zmieniony. Zapisać zmiany ?");

inline const QString kRenameSaveFirst =
    QStringLiteral("Przed tą operacją musisz zapisać aktualnie edytowany dokument.");
inline const QString kRenamePrompt = QStringLiteral("Podaj nową nazwę dla pliku:");
inline const QString kRenameExists = QStringLiteral("Nie mogę zmienić nazwy. Taki plik już istnieje.");
inline const QString kRenameInvalid = QStringLiteral("Nieprawidłowa nazwa pliku.");
inline const QString kRenameEmpty = QStringLiteral("Musisz podać nazwę dla nowego pliku.");
inline const QString kRenameFailed = QStringLiteral("Wystąpił błąd podczas próby zmiany nazwy pliku.");

// Encodings. %1 the document's encoding, %2 a character.
inline const QString kOfferUtf8 = QStringLiteral(
    "Kodowanie dokumentu (%1) nie obejmuje znaku „%2”.\nCzy przekonwertować dokument na UTF-8, aby go wstawić?");
inline const QString kCannotConvert =
    QStringLiteral("Znaku „%2” nie da się zapisać w kodowaniu %1. Dokument pozostaje bez zmian.");
inline const QString kReopenModified =
    QStringLiteral("Dokument został zmieniony. Wczytać plik ponownie w innym kodowaniu i utracić zmiany?");
inline const QString kAutomaticEncoding = QStringLiteral("Automatycznie");
inline const QString kEncodingLabel = QStringLiteral("&Kodowanie:");

// A long search or replace.
inline const QString kSearchProgressTitle = QStringLiteral("Wyszukiwanie");
inline const QString kSearchProgress = QStringLiteral("Trwa wyszukiwanie...");
inline const QString kReplaceProgress = QStringLiteral("Trwa zamiana...");
inline const QString kSearchCancel = QStringLiteral("Anuluj");

// The find bar.
inline const QString kFindBarFind = QStringLiteral("Zn&ajdź:");
inline const QString kFindBarReplace = QStringLiteral("Zamień &na:");
inline const QString kFindBarNext = QStringLiteral("Znajdź następny (F3)");
inline const QString kFindBarPrevious = QStringLiteral("Znajdź poprzedni (Shift+F3)");
inline const QString kFindBarMatchCase = QStringLiteral("&Uwzględnij wielkość liter");
inline const QString kFindBarRegular = QStringLiteral("Wyrażenia &regularne");
inline const QString kFindBarClose = QStringLiteral("Zamknij pasek (Esc)");
inline const QString kFindBarReplaceOne = QStringLiteral("&Zamień");
inline const QString kFindBarReplaceAll = QStringLiteral("Zamień &wszystkie");
inline const QString kFindBarNothing = QStringLiteral("Nie znaleziono");
inline const QString kFindBarBadPattern = QStringLiteral("Błędne wyrażenie");

inline const QString kSearchFinished = QStringLiteral("Wyszukiwanie zakończone.");
// %1 is the text about to be replaced.
inline const QString kConfirmReplace = QStringLiteral("Zamienić to wystąpienie \"%1\"?");

inline const QString kGoToLinePrompt = QStringLiteral("Podaj numer wiersza, do którego chcesz przejść:");
inline const QString kCommentOutPrompt =
    QStringLiteral("Wpisz znak, którym chcesz zakomentować zaznaczony fragment.");

inline const QString kAppendTargetMissing = QStringLiteral("Musisz wskazać istniejący plik.");

inline const QString kFileNotFound = QStringLiteral("Plik nie został znaleziony.");
inline const QString kTrayHint = QStringLiteral("Ostrel 3");
inline const QString kRecentFilesMenu = QStringLiteral("Ostatnio otwierane");
inline const QString kRecentFilesClear = QStringLiteral("&Wyczyść listę");
inline const QString kRecentFilesRemoveMissing = QStringLiteral("&Usuń nieistniejące");

inline const QString kHtmlEditorSet =
    QStringLiteral("Ostrel został ustawiony jako domyślny edytor do plików HTML.");
inline const QString kTextOstrelSet =
    QStringLiteral("Ostrel został ustawiony jako domyślny program do plików tekstowych.");
inline const QString kTextNotepadSet =
    QStringLiteral("Notatnik został ustawiony jako domyślny program do plików tekstowych.");
inline const QString kShortcutCreated = QStringLiteral("Skrót został utworzony.");
inline const QString kShortcutNotCreated = QStringLiteral("Skrót nie został utworzony.");
inline const QString kShortcutRemoved = QStringLiteral("Skrót został usunięty.");
inline const QString kShortcutNotRemoved = QStringLiteral("Skrót nie został usunięty.");

// The export dialog's filters, in the same form as kFileFilters.
inline const QString kExportFilter = QStringLiteral("Wszystkie pliki |*.*");
inline const QString kRtfExportFilter = QStringLiteral("Pliki RTF (*.rtf) |*.rtf");

// The open and save dialogs' filter list, in the "Name|*.a;*.b" form.
inline const QString kFileFilters = QStringLiteral(
    "Wszystkie pliki|*.*|Dokumenty tekstowe (*.txt)|*.txt|Strony HTML (*.html,*.htm)|*.html;*.htm|"
    "Strony PHP (*.php*,*.inc)|*.php*;*.inc|Style CSS (*.css)|*.css|"
    "Dokumenty XML (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd|"
    "Skrypty (*.js,*.vbs)|*.js;*.vbs|C++ (*.c,*.cpp,*.h,*.hpp)|*.c;*.cpp;*.h;*.hpp|"
    "Pascal (*.pas,*.dpr)|*.pas;*.dpr;|Java (*.java)|*.java|SQL (*.sql)|*.sql|"
    "Perl (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");

// The print preview's status panel, before the page number.
inline const QString kPreviewPage = QStringLiteral("Strona: ");
// A margin of the page setup window that is not a number.
inline const QString kInvalidNumber = QStringLiteral("Invalid number!");

inline const QString kFtpSaveFirst =
    QStringLiteral("Przed wysłaniem edytowanego dokumentu na serwer musisz go zapisać.");
inline const QString kFtpClientMissing = QStringLiteral("Nie mogłem znaleźć systemowego programu FTP.");
inline const QString kFtpClientNotStarted = QStringLiteral("Nie mogłem uruchomić systemowego programu FTP.");
inline const QString kFtpLineBreak = QStringLiteral("Parametry FTP nie mogą zawierać znaków końca wiersza.");
inline const QString kFtpConsoleCaption = QStringLiteral("Klient FTP");
inline const QString kFtpConsoleInput = QStringLiteral("&Polecenie:");
// %1 is the server's confirmation.
inline const QString kFtpSent = QStringLiteral("Plik został wysłany na serwer FTP (%1).");
// %1 is the reason; %2, where given, the line of the dialogue that told it.
inline const QString kFtpFailed = QStringLiteral("Wysyłanie na FTP nie powiodło się: %1.");
inline const QString kFtpFailedWith = QStringLiteral("Wysyłanie na FTP nie powiodło się: %1 (%2).");
inline const QString kFtpNotConnected = QStringLiteral("brak połączenia z serwerem");
inline const QString kFtpLoginRefused = QStringLiteral("serwer odrzucił użytkownika lub hasło");
inline const QString kFtpRemoteRefused = QStringLiteral("serwer odrzucił zdalny katalog lub plik");
inline const QString kFtpLocalFailure = QStringLiteral("klient FTP nie mógł odczytać pliku");
inline const QString kFtpNoConfirmation = QStringLiteral("serwer nie potwierdził przesłania pliku");
// %1 is the limit in seconds.
inline const QString kUploadTimedOut = QStringLiteral("upłynął limit czasu (%1 s)");

// The upload window's protocols; the first is the console client.
inline const QString kProtocolConsoleFtp = QStringLiteral("FTP (klient systemowy)");
inline const QString kProtocolSftp = QStringLiteral("SFTP");
inline const QString kProtocolFtps = QStringLiteral("FTPS");
inline const QString kServerLabelFtp = QStringLiteral("Adres &serwera, ftp://");
inline const QString kServerLabel = QStringLiteral("Adres &serwera:");
inline const QString kSecretStoreMissing =
    QStringLiteral("Na tym pulpicie nie działa usługa przechowywania haseł (Secret Service), więc hasło "
                   "może być pamiętane tylko do końca sesji.");
// %1 is the protocol and %2 the byte count.
inline const QString kUploadSent = QStringLiteral("Plik został wysłany na serwer %1 (%2 B).");
// %1 is the protocol, %2 the reason and %3 the transfer's own words.
inline const QString kUploadFailed = QStringLiteral("Wysyłanie na %1 nie powiodło się: %2 (%3).");
inline const QString kUploadBadRequest = QStringLiteral("nieprawidłowe parametry połączenia");
inline const QString kUploadLocalFile = QStringLiteral("nie mogłem odczytać pliku");
inline const QString kUploadNoTls = QStringLiteral("serwer nie obsługuje szyfrowania TLS");
inline const QString kUploadHostKeyUnknown = QStringLiteral("nieznany klucz serwera nie został przyjęty");
inline const QString kUploadHostKeyChanged = QStringLiteral("klucz serwera się zmienił");
inline const QString kUploadCertificateUntrusted = QStringLiteral("certyfikat serwera nie jest zaufany");
inline const QString kUploadCancelled = QStringLiteral("przerwane przez użytkownika");
inline const QString kUploadIncomplete = QStringLiteral("serwer nie otrzymał całego pliku");
inline const QString kUploadOther = QStringLiteral("błąd przesyłania");
inline const QString kUploadRunning = QStringLiteral("Wysyłanie na %1...");
// %1 the server, %2 the key type, %3 its fingerprint, %4 the known-hosts file.
inline const QString kHostKeyQuestion =
    QStringLiteral("Serwer %1 przedstawił klucz, którego jeszcze nie znasz:\n%2 %3\n\n"
                   "Sprawdź odcisk u administratora serwera. Czy ufasz temu kluczowi? "
                   "Zostanie zapisany w pliku %4.");
// %1 the server, %2 the key type, %3 its fingerprint, %4 the known-hosts file.
inline const QString kHostKeyChangedWarning =
    QStringLiteral("UWAGA: klucz serwera %1 jest inny niż zapisany w pliku %4!\n"
                   "Nowy klucz: %2 %3\n\n"
                   "Ktoś może podszywać się pod serwer. Połączenie zostało odrzucone. Jeśli administrator "
                   "potwierdzi zmianę klucza, usuń stary wpis z pliku %4.");
// %1 the server, %2 the fingerprint, %3 the subject, issuer and reason.
inline const QString kCertificateQuestion =
    QStringLiteral("Certyfikat serwera %1 nie jest zaufany:\n%3\n\nOdcisk SHA-256:\n%2\n\n"
                   "Czy ufasz temu certyfikatowi?\nTak – na stałe, Nie – tylko do końca sesji, "
                   "Anuluj – odrzuć połączenie.");
// %1 what could not be kept.
inline const QString kTrustNotStored = QStringLiteral("Nie mogłem zapamiętać zaufania na stałe: %1");
inline const QString kPasswordNotStored = QStringLiteral("Nie mogłem zapisać hasła w magazynie haseł: %1");

}  // namespace ostrel::res
