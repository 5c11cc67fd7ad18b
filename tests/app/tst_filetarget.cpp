// Where recordings, backups and PDFs may go: the device names of Windows ("NUL", "COM1.csv")
// are refused there, as device nodes are everywhere, and are plain file names elsewhere.
#include "base/FileTarget.h"
#include "data/QvDataFile.h"
#include "iomon/IoRecordFile.h"
#include "print/PdfPage.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

class TestFileTarget : public QObject {
    Q_OBJECT
private slots:
    void deviceNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("device");
        QTest::newRow("NUL") << "NUL" << true;
        QTest::newRow("lower case, extension") << "nul.qvd" << true;
        QTest::newRow("two extensions") << "Con.tar.gz" << true;
        QTest::newRow("in a folder") << "C:\\data\\aux.pdf" << true;
        QTest::newRow("in a folder, slashes") << "/tmp/x/PRN.csv" << true;
        QTest::newRow("blanks before the extension") << "COM1 .csv" << true;
        QTest::newRow("with a colon") << "LPT1:" << true;
        QTest::newRow("COM9") << "com9.vcd" << true;
        QTest::newRow("superscript") << "COM\u00b2.txt" << true;
        QTest::newRow("COM10 is a file") << "COM10.csv" << false;
        QTest::newRow("longer word") << "NULL.qvd" << false;
        QTest::newRow("word before") << "backup-nul.qvd" << false;
        QTest::newRow("device name as a folder") << "CON/settings.qvd" << false;
        QTest::newRow("COM alone") << "COM.pdf" << false;
        QTest::newRow("blank before the name") << " NUL.txt" << false;
    }
    void deviceNames() {
        QFETCH(QString, path);
        QFETCH(bool, device);
        QCOMPARE(FileTarget::isWindowsDeviceName(path), device);
    }

    void writersAndDeviceNames_data() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("name");
        QTest::newRow("backup") << "backup"
                                << "NUL.qvd";
        QTest::newRow("recording") << "recording"
                                   << "com1.csv";
        QTest::newRow("PDF") << "pdf"
                             << "Con.pdf";
    }
    // On Windows nothing is written (it would go to the device and be lost); elsewhere the name
    // is an ordinary file and is written.
    void writersAndDeviceNames() {
        QFETCH(QString, writer);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        bool written = false;
        if (writer == QLatin1String("backup")) {
            written = QvDataFile::write(path, QvData());
        } else if (writer == QLatin1String("recording")) {
            IoRecordFile recording(IoRecordFile::Format::Csv);
            written = recording.open(path) && recording.add(0, {}) && recording.finish();
        } else {
            PdfPage page(path);
            page.printLine(QStringLiteral("QV"));
            written = page.opened() && page.endDoc();
        }
#ifdef Q_OS_WIN
        QVERIFY(!written);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
#else
        QVERIFY(written);
        QVERIFY(QFileInfo(path).isFile());
#endif
    }
};

QV_TEST_MAIN_WITH(QGuiApplication, TestFileTarget)
#include "tst_filetarget.moc"
