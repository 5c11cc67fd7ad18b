// The options dialog opened from the main window: the port list from the probe, the device
// behind the chosen number, OK and Cancel, and the parameter display it leaves to the window.
#include "MainWindowFixture.h"

#include "base/ResText.h"
#include "gui/PortStatusLabel.h"
#include "gui/frmOptions.h"
#include "support/FakeLineServer.h"
#include "support/Pty.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <functional>

namespace {

// A PC with serial ports COM1 and COM4 only (two ptys), stored port 4.
struct TwoPortPc : MainWindowFixture {
    Pty com1, com4;
    TwoPortPc() {
        link.portMap().setEnumerator({});
        PortMap::setEntry(1, com1.slavePath());
        PortMap::setEntry(4, com4.slavePath());
        StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("4"));
        settings.ReadPortNo();
        settings.OccupyPort = true;
    }

    // Opens the dialog from the menu and lets work() act on it while it is shown.
    void withOptions(const std::function<void(frmOptions &)> &work) {
        QVERIFY(withDialog<frmOptions>(QStringLiteral("mnuViewOption"), work));
    }

    static QString stored(const char *key) {
        return StoredSettings::readText(QString::fromLatin1(key), QStringLiteral("absent"));
    }
};

// The settings folder open to every user, so that the dialog still reads its port map while the
// test acts as a user without access to a device.
void shareSettingsFolder() {
    const QByteArray folder = qgetenv("XDG_CONFIG_HOME");
    ::chmod(folder.constData(), 0777);
    ::chmod((folder + "/QVPC-Software").constData(), 0777);
    ::chmod(QFile::encodeName(StoredSettings::filePath()).constData(), 0666);
}

QStringList listed(const QComboBox *combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }
    void cleanup() { setLangOffset(0); }

    // The probe finds COM1 and COM4; choosing COM1 stores it and leaves the port closed.
    void choosingAnotherPort() {
        TwoPortPc pc;
        QVERIFY(pc.link.OpenPort().isDone());
        QStringList items;
        QString shown, device;
        pc.withOptions([&](frmOptions &d) {
            items = listed(d.comboPortNo);
            shown = d.comboPortNo->currentText();
            d.comboPortNo->setCurrentText(QStringLiteral("COM1"));
            device = d.lblPortDevice->text();
            d.cmdOK->click();
        });
        QCOMPARE(items, (QStringList{QStringLiteral("COM1"), QStringLiteral("COM4")}));
        QCOMPARE(shown, QStringLiteral("COM4"));
        QVERIFY2(device.contains(pc.com1.slavePath()), qPrintable(device));
        QCOMPARE(TwoPortPc::stored("PortNo"), QStringLiteral("1"));
        QCOMPARE(int(pc.settings.PortNo), 1);
        QVERIFY(!pc.link.isPortOpen());
        QCOMPARE(pc.prompt.shown.size(), 0);
        // The status bar names the new port.
        QVERIFY(pc.window->portStatus()->text().startsWith(
            QStringLiteral("COM1  %1").arg(pc.com1.slavePath())));
    }

    // What the port list's text gives; a number the probe did not find is taken for this run
    // without being stored, an unreadable one brings message 464.
    void typedPort_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("portNo");
        QTest::addColumn<QString>("storedPortNo");
        QTest::addColumn<bool>("message464");
        QTest::newRow("COM7 not probed") << "COM7" << 7 << 7 << "4" << false;
        QTest::newRow("ABC7") << "ABC7" << 7 << 7 << "4" << false;
        QTest::newRow("XYZ 7") << "XYZ 7" << 7 << 7 << "4" << false;
        QTest::newRow("COM33") << "COM33" << -1 << 4 << "4" << true;
        QTest::newRow("COM") << "COM" << -1 << 4 << "4" << true;
        // The start of a listed entry is not that entry.
        QTest::newRow("CO") << "CO" << -1 << 4 << "4" << true;
        QTest::newRow("empty") << "" << -1 << 4 << "4" << true;
    }
    void typedPort() {
        QFETCH(QString, typed);
        QFETCH(int, chosen);
        QFETCH(int, portNo);
        QFETCH(QString, storedPortNo);
        QFETCH(bool, message464);
        TwoPortPc pc;
        int parsed = 0;
        pc.withOptions([&](frmOptions &d) {
            d.chkPortOccupy->setChecked(false);
            // Typed over what the list shows, key by key, as the user does.
            d.activateWindow();
            d.comboPortNo->setFocus();
            d.comboPortNo->lineEdit()->selectAll();
            QTest::keyClick(d.comboPortNo->lineEdit(), Qt::Key_Backspace);
            QTest::keyClicks(d.comboPortNo->lineEdit(), typed);
            parsed = d.ChosenPortNo();
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(parsed, chosen);
        QCOMPARE(int(pc.settings.PortNo), portNo);
        QCOMPARE(TwoPortPc::stored("PortNo"), storedPortNo);
        QCOMPARE(pc.prompt.shown.size(), message464 ? 1 : 0);
        if (message464)
            QCOMPARE(pc.prompt.shown.first().text, ResText(464));
        // The occupation choice is stored in every case.
        QCOMPARE(TwoPortPc::stored("PortOccupy"), QStringLiteral("0"));
    }

    // Clearing the parameter display clears and disables the homing choice; OK keeps
    // HomeParamsEditable as it was.
    void parameterDisplayOff() {
        TwoPortPc pc;
        pc.showParameters(true);
        bool homeEnabled = true, homeChecked = true;
        pc.withOptions([&](frmOptions &d) {
            QVERIFY(d.chkParametaShow->isChecked());
            QVERIFY(d.chkHomeParaShow->isChecked());
            d.chkParametaShow->setChecked(false);
            homeEnabled = d.chkHomeParaShow->isEnabled();
            homeChecked = d.chkHomeParaShow->isChecked();
            d.cmdOK->click();
        });
        QVERIFY(!homeEnabled);
        QVERIFY(!homeChecked);
        QVERIFY(!pc.window->ShowParameters());
        QVERIFY(pc.window->HomeParamsEditable());
        QVERIFY(control<QGroupBox>(*pc.window, "framParameta")->isHidden());
        QVERIFY(pc.heightIs(6585));
    }

    // Cancel after changing everything, a new device's number chosen: nothing stored or applied,
    // the port closed by the probe.
    void cancelChangesNothing() {
        TwoPortPc pc;
        Pty adapter;
        pc.link.portMap().setEnumerator([&adapter] {
            return QList<SerialDevice>{{adapter.slavePath(), true, QString()}};
        });
        StoredSettings::writeText(QStringLiteral("PortOccupy"), QStringLiteral("1"));
        QVERIFY(pc.link.OpenPort().isDone());
        const QByteArray before = readBytes(StoredSettings::filePath());
        QStringList items;
        pc.withOptions([&](frmOptions &d) {
            items = listed(d.comboPortNo);
            d.comboPortNo->setCurrentText(QStringLiteral("COM2"));
            d.chkPortOccupy->setChecked(false);
            d.chkParametaShow->setChecked(true);
            d.chkHomeParaShow->setChecked(true);
            d.cmdCancel->click();
        });
        // The device without a number was listed under the lowest free one, and not stored.
        QCOMPARE(items, (QStringList{"COM1", "COM2", "COM4"}));
        QCOMPARE(readBytes(StoredSettings::filePath()), before);
        QCOMPARE(int(pc.settings.PortNo), 4);
        QVERIFY(!pc.window->ShowParameters());
        QVERIFY(!pc.link.isPortOpen());
    }

    // The TLS fields: OK stores what can be used, and only a change; what cannot be used is told
    // and the dialog stays open with nothing stored. Cancel stores nothing.
    void tlsFields_data() {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("withCert");
        QTest::addColumn<int>("keyMode"); // the key file's permissions; 0: no key
        QTest::addColumn<int>("told");    // the text shown; 0: none, and stored
        const QString pin = QString(64, u'a');
        QTest::newRow("nothing typed") << QString() << false << 0 << 0;
        QTest::newRow("pin and a key for its owner") << pin << true << 0600 << 0;
        QTest::newRow("pin not a fingerprint") << QStringLiteral("abc") << false << 0 << 1670;
        QTest::newRow("certificate without its key") << QString() << true << 0 << 1673;
        QTest::newRow("key readable by others") << pin << true << 0644 << 1667;
    }
    void tlsFields() {
        QFETCH(QString, pin);
        QFETCH(bool, withCert);
        QFETCH(int, keyMode);
        QFETCH(int, told);
        QTemporaryDir dir;
        const QString key = dir.filePath(QStringLiteral("operator.key"));
        const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
        if (keyMode != 0)
            QVERIFY(writeBytes(key, {}) &&
                    QFile::setPermissions(key, keyMode == 0600
                                                   ? owner
                                                   : owner | QFile::ReadGroup | QFile::ReadOther));
        TwoPortPc pc;
        bool stillOpen = false;
        pc.withOptions([&](frmOptions &d) {
            d.txtTlsPin->setText(pin);
            d.txtTlsCert->setText(withCert ? dir.filePath(QStringLiteral("operator.crt")) : "");
            d.txtTlsKey->setText(keyMode != 0 ? key : QString());
            d.cmdOK->click();
            stillOpen = d.isVisible();
        });
        QCOMPARE(stillOpen, told != 0);
        const QString shown = told == 1667 ? ResText(told).arg(key) : told ? ResText(told) : "";
        QCOMPARE(pc.prompt.texts(), told ? QStringList{shown} : QStringList{});
        const bool stored = told == 0 && !pin.isEmpty();
        QCOMPARE(TwoPortPc::stored("TlsPin"), stored ? pin : QStringLiteral("absent"));
        QCOMPARE(TwoPortPc::stored("TlsKeyFile"), stored ? key : QStringLiteral("absent"));
        // Opened again, the dialog shows the pin the program now uses.
        QString pinShown;
        pc.withOptions([&](frmOptions &d) { pinShown = d.txtTlsPin->text(); });
        QCOMPARE(pinShown, stored ? pin : QString());
    }

    // A mapped device that exists but may not be opened: left out of the list, and the dialog
    // says why where the chosen number's device is shown, and on its port map tab.
    void deviceWithoutPermission() {
        TwoPortPc pc;
        setLangOffset(StringTable::EnglishOffset);
        Pty locked;
        PortMap::setEntry(6, locked.slavePath());
        QStringList items;
        QString device, mapState;
        shareSettingsFolder();
        {
            WithoutAccess denied(locked.slavePath());
            QVERIFY(denied.ok());
            pc.withOptions([&](frmOptions &d) {
                items = listed(d.comboPortNo);
                d.comboPortNo->setCurrentText(QStringLiteral("COM6"));
                device = d.lblPortDevice->text();
                for (int row = 0; row < d.tblPortMap->rowCount(); ++row)
                    if (d.tblPortMap->item(row, 0)->text() == QLatin1String("COM6"))
                        mapState = d.tblPortMap->item(row, 3)->text();
            });
        }
        QVERIFY(!items.contains(QStringLiteral("COM6")));
        QVERIFY2(device.contains(locked.slavePath()), qPrintable(device));
        QVERIFY2(device.contains(QStringLiteral("State: permission denied")), qPrintable(device));
        QVERIFY2(mapState.startsWith(QStringLiteral("permission denied")), qPrintable(mapState));
    }

    // With a simulated controller standing in for every number (--demo), the chosen number's
    // device is that controller's, as the status bar says, on the first tab and in the port map
    // of the last.
    void simulatedControllerShownAsTheDevice() {
        TwoPortPc pc;
        setLangOffset(StringTable::EnglishOffset);
        Pty simulated;
        pc.link.setDeviceOverride(simulated.slavePath());
        QString device;
        QStringList mapped;
        pc.withOptions([&](frmOptions &d) {
            device = d.lblPortDevice->text();
            for (int row = 0; row < d.tblPortMap->rowCount(); ++row)
                mapped << d.tblPortMap->item(row, 0)->text() + u' ' +
                              d.tblPortMap->item(row, 1)->text();
        });
        QVERIFY2(device.startsWith(QStringLiteral("Simulated controller on %1\nDevice: %1")
                                       .arg(simulated.slavePath())),
                 qPrintable(device));
        QVERIFY2(!device.contains(pc.com4.slavePath()), qPrintable(device));
        QCOMPARE(mapped, (QStringList{QStringLiteral("COM1 ") + simulated.slavePath(),
                                      QStringLiteral("COM4 ") + simulated.slavePath()}));
    }

    // The language for the next start, chosen on the last tab: shown as stored, stored on OK
    // only when changed (an unreadable value, which means English, stays), the window's as it is.
    void languageChoice_data() {
        QTest::addColumn<QString>("stored"); // empty: not stored
        QTest::addColumn<int>("shown");      // 0 Japanese, 1 English
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("after");
        QTest::newRow("first start, English chosen") << "" << 0 << 1 << "2";
        QTest::newRow("English, Japanese chosen") << "2" << 1 << 0 << "1";
        QTest::newRow("unreadable, English kept") << "abc" << 1 << 1 << "abc";
    }
    void languageChoice() {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(int, chosen);
        QFETCH(QString, after);
        TwoPortPc pc;
        if (!stored.isEmpty())
            StoredSettings::writeText(QStringLiteral("Language"), stored);
        pc.withOptions([&](frmOptions &d) {
            QCOMPARE(d.comboLanguage->currentIndex(), shown);
            d.comboLanguage->setCurrentIndex(chosen);
            d.cmdOK->click();
        });
        QCOMPARE(TwoPortPc::stored("Language"), after);
        QCOMPARE(LangOffset(), qint16(0));
    }

    // A network line typed into the port map on the "etc" tab: stored and tried at once, listed
    // with its host, port and state; a mistyped address is refused and not stored.
    void typedNetworkEntry_data() {
        QTest::addColumn<bool>("valid");
        QTest::newRow("RFC 2217 server") << true;
        QTest::newRow("address without a port") << false;
    }
    void typedNetworkEntry() {
        QFETCH(bool, valid);
        TwoPortPc pc;
        setLangOffset(StringTable::EnglishOffset);
        FakeLineServer server({});
        const QString url = valid ? server.url() : QStringLiteral("rfc2217://127.0.0.1");
        QString result, mapRow;
        QStringList items;
        pc.withOptions([&](frmOptions &d) {
            d.spnMapPortNo->setValue(9);
            QTest::keyClicks(d.txtMapPath, url);
            d.cmdMapSet->click();
            result = d.lblMapResult->text();
            items = listed(d.comboPortNo);
            for (int row = 0; row < d.tblPortMap->rowCount(); ++row)
                if (d.tblPortMap->item(row, 0)->text() == QLatin1String("COM9"))
                    mapRow = QStringList{d.tblPortMap->item(row, 1)->text(),
                                         d.tblPortMap->item(row, 2)->text(),
                                         d.tblPortMap->item(row, 3)->text()}
                                 .join(u'|');
        });
        if (valid) {
            QCOMPARE(PortMap::entry(9), url);
            QCOMPARE(mapRow, url + QStringLiteral("|network line (RFC 2217)|can be opened"));
            QVERIFY(items.contains(QStringLiteral("COM9")));
            QVERIFY2(result.contains(QStringLiteral("can be opened")), qPrintable(result));
        } else {
            QCOMPARE(PortMap::entry(9), QString());
            QVERIFY(mapRow.isEmpty());
            QVERIFY2(result.startsWith(QStringLiteral("not a valid network address")),
                     qPrintable(result));
        }
    }

    // Parameters on, Move mode, parameters off, Edit mode, parameters on: the sensor fields can
    // be edited again (they used to stay disabled until the next round trip of the modes).
    void sensorFieldsEditableAfterModeRoundTrip() {
        TwoPortPc pc;
        frmMain &w = *pc.window;
        const auto display = [&](bool on) {
            pc.withOptions([on](frmOptions &d) {
                d.chkParametaShow->setChecked(on);
                d.cmdOK->click();
            });
        };
        display(true);
        w.EnterMoveMode();
        display(false);
        w.EnterEditMode();
        display(true);
        QVERIFY(control<QGroupBox>(w, "framParameta")->isEnabled());
        for (QLineEdit *field :
             controls<QLineEdit>(w, {"txtSentanCount", "txtNoWorkCount", "txtRestartDelay",
                                     "txtLowKaijoCnt", "txtXXXCnt", "txtHensu1"}))
            QVERIFY2(field->isEnabled(), qPrintable(field->objectName()));
        // In Move mode the fields stay as the mode left them.
        w.EnterMoveMode();
        display(true);
        QVERIFY(!control<QLineEdit>(w, "txtSentanCount")->isEnabled());
    }
};

QV_TEST_MAIN(TestOptions)
#include "tst_options.moc"
