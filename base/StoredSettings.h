#pragma once

#include <QSettings>
#include <QString>
#include <QtGlobal>

// The program's stored settings (application QVPC-Software, group "Settings") and the
// variables they fill. Values are stored as text and read back as 16-bit integers; a value that
// cannot be read leaves its variable as it was.
class StoredSettings {
public:
    static constexpr const char *AppName = "QVPC-Software";

    qint16 LanguageNo = 0;
    // The offset of the chosen language in the string table: 0 Japanese, 10000 English. The
    // program hands it to the string table once, at start-up (setLangOffset).
    qint16 LangOffset = 0;
    qint16 PortNo = 0;
    bool OccupyPort = false;
    // Each write reads the controller first and is kept in the journal of writes.
    bool KeepJournal = false;
    // The window's write reads the controller first and shows what it will change.
    bool PreviewWrite = false;
    // Network lines over TLS: the CA file the server's certificate must chain to (empty: the
    // system's trust store), the server certificate's pinned SHA-256 fingerprint, and the
    // operator's certificate and key files. Names of files only, never a key.
    QString TlsCaFile;
    QString TlsPin;
    QString TlsCertFile;
    QString TlsKeyFile;
    // The language asked for on the command line ("ja" or "en"; --lang): for this run it wins
    // over the stored "Language", which it leaves as it is.
    QString languageOption;

    // Reads "Language" (default 1) into LanguageNo and LangOffset: 0 when LanguageNo is 1,
    // otherwise 10000. A languageOption gives 1 (ja) or 2 (en) instead.
    void ReadLanguage();
    // Stores "Language": 1 Japanese, 2 English. It takes effect at the next start.
    static void SaveLanguage(bool japanese);
    // ReadLanguage where "Language" is stored; without it (a new user), the language of the
    // environment's messages: Japanese for a locale "ja..." else English (see localeIsJapanese).
    // The terminal program's rule; the window keeps Japanese as the default.
    void ReadLanguageOrLocale();
    // The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty starts with "ja"; on
    // Windows, the user's display language (GetUserDefaultUILanguage) is Japanese.
    static bool localeIsJapanese();
    // Reads "PortNo" (default 1).
    void ReadPortNo();
    // Reads "PortOccupy" (default 1): 0 gives false, any other number true.
    void ReadPortOccupy();
    // Reads "Journal" (default 0): only 1 keeps the journal.
    void ReadKeepJournal();
    void SaveKeepJournal() const;
    // Reads "WritePreview" (default 0): only 1 shows what a write will change.
    void ReadPreviewWrite();
    void SavePreviewWrite() const;
    // Reads "TlsCaFile", "TlsPin", "TlsCertFile" and "TlsKeyFile" (default empty).
    void ReadTls();
    void SaveTls() const;
    // Stores PortNo as decimal text.
    void SavePortNo() const;
    // Stores "1" or "0".
    void SavePortOccupy() const;

    // Where the settings are kept (StoredSettingsFile.cpp, StoredSettingsRegistry.cpp). On Linux
    // the settings file $XDG_CONFIG_HOME/QVPC-Software/QVPC-Software.conf (~/.config without
    // XDG_CONFIG_HOME), INI form; on Windows the registry key the application-settings functions
    // use, HKEY_CURRENT_USER\Software\VB and VBA Program Settings\QVPC-Software, each group a key
    // below it.
    static QString filePath();
    // The store in that file. The file an earlier version kept beside it (QVPC-Software.ini) is
    // taken over once, so that a port and language set before are not lost.
    // While the file is not one the program can use (see fileUsable), a store that starts empty
    // and is dropped when the program ends.
    static QSettings store();
    // The settings file is missing or a regular file (the registry always is). Anything else in its
    // place (a FIFO, a device, a folder) is left alone; the front ends say so (text 1559).
    static bool fileUsable();

    // The raw text of a key in group "Settings", or the default when absent.
    static QString readText(const QString &key, const QString &fallback);
    static void writeText(const QString &key, const QString &value);
};
