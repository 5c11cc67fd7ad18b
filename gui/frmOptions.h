#pragma once

#include "link/TlsSettings.h"
#include "session/PortChoice.h"

#include <QDialog>

class ControllerLink;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class StoredSettings;
class UserPrompt;
class frmMain;

// The options dialog: the serial port (with the device and adapter behind each COM number and why
// one that exists cannot be opened), whether the port stays occupied, and the parameter display.
// Built anew for every opening; probes the ports when it loads. The rules of the port choice are
// PortChoice's; the dialog shows them and forwards what the user chose.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    frmOptions(StoredSettings &settings, ControllerLink &link, UserPrompt &prompt, frmMain &main);

    // The port list from the probe: "COMn" for each port that could be opened.
    void FillPortList();
    // The number in the port list's text (its first three characters skipped), 1 to 32, or -1.
    qint16 ChosenPortNo() const;

    QTabWidget *ssTab3 = nullptr;
    QLabel *lblPortComment = nullptr, *lblPortNo = nullptr;
    QComboBox *comboPortNo = nullptr;
    QLabel *lblPortDevice = nullptr;
    QCheckBox *chkPortOccupy = nullptr;
    QLabel *lblHyoujiComment = nullptr;
    QCheckBox *chkParametaShow = nullptr;
    QGroupBox *framParaShow = nullptr;
    QCheckBox *chkHomeParaShow = nullptr;
    QTableWidget *tblPortMap = nullptr;
    // A port map entry typed in: the number, the device path or network URL, the button that
    // stores it, and what became of it.
    QSpinBox *spnMapPortNo = nullptr;
    QLineEdit *txtMapPath = nullptr;
    QPushButton *cmdMapSet = nullptr;
    QLabel *lblMapResult = nullptr;
    QLabel *lblSettingsFile = nullptr;
    // Whether each write reads the controller first and is kept in the journal of writes.
    QCheckBox *chkJournal = nullptr;
    QCheckBox *chkWritePreview = nullptr;
    // The language stored for the next start: 0 Japanese, 1 English.
    QLabel *lblLanguage = nullptr;
    QComboBox *comboLanguage = nullptr;
    // How network lines over TLS check the server and show the operator: the CA file, the pinned
    // fingerprint, the client certificate and its key; each file with a button that chooses it.
    QGroupBox *framTls = nullptr;
    QLineEdit *txtTlsCa = nullptr, *txtTlsPin = nullptr, *txtTlsCert = nullptr,
              *txtTlsKey = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr, *cmdApply = nullptr;

private:
    QWidget *buildPortTab();
    QWidget *buildDisplayTab();
    QWidget *buildEtcTab();
    QGroupBox *buildTlsFrame(QWidget *tab);
    // The TLS settings as the fields have them.
    TlsSettings typedTls() const;
    void load();
    void fillPortMapTable();
    void onParametaShow();
    void showChosenDevice();
    void onOK();
    void onMapSet();

    StoredSettings &m_settings;
    ControllerLink &m_link;
    UserPrompt &m_prompt;
    frmMain &m_main;
    // The ports found when the dialog loads, and what OK stores of the choice.
    PortChoice m_ports;
    // The language choice as stored when the dialog loaded; OK stores only a change.
    int m_storedLanguage = 0;
};
