#pragma once
// Every message box, input box and file dialog of the main window goes
// through TDialogs, so the tests can answer them with a script.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "platform/TextEncoding.h"

class QComboBox;
class QFileDialog;
class QPrinter;
class QWidget;

namespace ostrel {

enum class TAnswer { Yes, No, Cancel };

// The file dialogs the program keeps; each remembers its own folder and filter.
enum class TFileDialogId { Open, Save, Export };

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // Caption "Ostrel", question icon; Yes/No, or Yes/No/Cancel.
    virtual TAnswer Question(QWidget* owner, const QString& text, bool withCancel) = 0;
    virtual void Information(QWidget* owner, const QString& text) = 0;
    virtual void Warning(QWidget* owner, const QString& text) = 0;
    virtual void Error(QWidget* owner, const QString& text) = 0;
    // A one-line input box; Cancel returns the initial text.
    virtual QString Input(QWidget* owner, const QString& caption, const QString& prompt,
                          const QString& initial) = 0;
    // The chosen existing files, or none when cancelled. The filters are in
    // the program's "Name|*.a;*.b" form. encoding gets the encoding chosen
    // to read them in, none for "Automatycznie".
    virtual QStringList OpenFiles(QWidget* owner, const QString& filters, std::optional<TOstEncoding>& encoding) = 0;
    // The current document's folder, where the next file dialog starts;
    // empty (an untitled document) starts where the dialog ended last.
    virtual void SetDocumentFolder(const QString& folder) { (void)folder; }
    // The chosen file (after the overwrite question), or empty when cancelled.
    virtual QString SaveFile(QWidget* owner, TFileDialogId id, const QString& filters,
                             const QString& defaultSuffix = {}) = 0;
    // The colour and font dialogs: the choice, or none when cancelled. The
    // font dialog offers every size and takes no style.
    virtual std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) = 0;
    virtual std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) = 0;
    // The same for the editor's font, which must keep every cell one width:
    // only fixed-pitch families are offered.
    virtual std::optional<QFont> ChooseEditorFont(QWidget* owner, const QFont& initial)
    {
        return ChooseFont(owner, initial);
    }
    // The print dialog and the printer setup dialog on the printer they set
    // up (a PDF file is one of the print dialog's choices); false when
    // cancelled.
    virtual bool Print(QWidget* owner, QPrinter& printer) = 0;
    virtual bool PrinterSetup(QWidget* owner, QPrinter& printer) = 0;
    // The documents a crash left, one line each: which to restore (the
    // others are dropped), or none when the user would rather decide later.
    virtual std::optional<std::vector<bool>> ChooseRecovered(QWidget* owner, const QStringList& items) = 0;
};

// "Name|*.a;*.b|Other|*.c" to Qt's "Name (*.a *.b);;Other (*.c)". A pattern
// list already in the name is replaced by the real one, and "*.*" means every
// file, as it does on the system the list was written for.
QString ConvertFileFilters(const QString& filters);

// The real dialogs: QMessageBox, QInputDialog and QFileDialog.
class TQtDialogs final : public TDialogs {
public:
    TAnswer Question(QWidget* owner, const QString& text, bool withCancel) override;
    void Information(QWidget* owner, const QString& text) override;
    void Warning(QWidget* owner, const QString& text) override;
    void Error(QWidget* owner, const QString& text) override;
    QString Input(QWidget* owner, const QString& caption, const QString& prompt,
                  const QString& initial) override;
    QStringList OpenFiles(QWidget* owner, const QString& filters, std::optional<TOstEncoding>& encoding) override;
    QString SaveFile(QWidget* owner, TFileDialogId id, const QString& filters,
                     const QString& defaultSuffix) override;
    std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) override;
    std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) override;
    std::optional<QFont> ChooseEditorFont(QWidget* owner, const QFont& initial) override;
    bool Print(QWidget* owner, QPrinter& printer) override;
    bool PrinterSetup(QWidget* owner, QPrinter& printer) override;
    void SetDocumentFolder(const QString& folder) override { documentFolder_ = folder; }
    std::optional<std::vector<bool>> ChooseRecovered(QWidget* owner, const QStringList& items) override;

private:
    static QComboBox* AddEncodingChoice(QFileDialog& dialog);
    // Where each dialog's last use ended.
    struct TPlace {
        QString folder;
        QString filter;
    };
    std::map<TFileDialogId, TPlace> places_;
    QString documentFolder_;
    QString StartFolder(const TPlace& place) const;
    // The folder of the file chosen, also of a path typed in the name field.
    static void Remember(TPlace& place, const QFileDialog& dialog);
};

}  // namespace ostrel
