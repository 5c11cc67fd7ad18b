#include "gui/QtFileDialogs.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace {

// Types a name into the dialog's name box as the user would.
void typeName(QFileDialog *dialog, const QString &name) {
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(name);
}

} // namespace

// The real file dialogs: what they show and what they return.
class TestQtFileDialogs : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // Runs a dialog call while a timer acts on the dialog once it is up.
    QString withDialog(const std::function<QString()> &show,
                       const std::function<void(QFileDialog *)> &act) {
        bool acted = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                poll.stop();
                acted = true;
                act(dialog);
                // A dialog that did not close fails the test instead of hanging it.
                QTimer::singleShot(2000, dialog, [dialog] { dialog->reject(); });
            }
        });
        poll.start();
        const QString chosen = show();
        [&] { QVERIFY(acted); }();
        return chosen;
    }

private slots:
    void saveDialogShowsItsOptionsAndAddsTheExtension() {
        QtFileDialogs dialogs(nullptr);
        FileDialogs::Options options;
        options.title = "Save to file As ...";
        options.filter = "QV data file(*.qvd)|*.qvd|";
        options.fileName = "qvdata1.qvd";
        options.defaultExt = "qvd";
        options.initialDir = m_dir.path();
        options.overwritePrompt = true;
        QStringList filters;
        QString title;
        const QString chosen = withDialog([&] { return dialogs.ShowSave(options); },
                                          [&](QFileDialog *dialog) {
                                              title = dialog->windowTitle();
                                              filters = dialog->nameFilters();
                                              typeName(dialog, "settings");
                                              static_cast<QDialog *>(dialog)->accept();
                                          });
        QCOMPARE(title, QString("Save to file As ..."));
        QCOMPARE(filters, QStringList{"QV data file(*.qvd) (*.qvd *.QVD)"});
        QCOMPARE(chosen, m_dir.filePath("settings.qvd"));
        QCOMPARE(dialogs.last().fileName, chosen);
    }

    void openDialogStartsWhereTheLastFileWasChosen() {
        QtFileDialogs dialogs(nullptr);
        FileDialogs::Options save;
        save.fileName = "qvdata1.qvd";
        save.defaultExt = "qvd";
        save.initialDir = m_dir.path();
        const QString saved = withDialog([&] { return dialogs.ShowSave(save); },
                                         [](QFileDialog *dialog) {
                                             typeName(dialog, "first");
                                             static_cast<QDialog *>(dialog)->accept();
                                         });
        QCOMPARE(saved, m_dir.filePath("first.qvd"));

        FileDialogs::Options open;
        open.title = "Open QV data file";
        open.filter = "QV data file(*.qvd)|*.qvd|All files(*.*)|*.*";
        QString folder;
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        const QString none = withDialog([&] { return dialogs.ShowOpen(open); },
                                        [&](QFileDialog *dialog) {
                                            folder = dialog->directory().absolutePath();
                                            filters = dialog->nameFilters();
                                            mode = dialog->fileMode();
                                            dialog->reject();
                                        });
        QVERIFY(none.isEmpty());
        QCOMPARE(folder, QDir(m_dir.path()).absolutePath());
        QCOMPARE(filters, (QStringList{"QV data file(*.qvd) (*.qvd *.QVD)", "All files(*.*) (*)"}));
        QCOMPARE(mode, QFileDialog::ExistingFile);
        QCOMPARE(dialogs.last().title, QString("Open QV data file"));
    }

    // With no folder to go by, the dialog opens in the user's documents folder.
    void firstDialogStartsInDocuments() {
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", m_dir.path().toLocal8Bit());
        QDir(m_dir.path()).mkpath(QStringLiteral("Documents"));
        QtFileDialogs dialogs(nullptr);
        QString folder;
        withDialog([&] { return dialogs.ShowOpen({}); },
                   [&](QFileDialog *dialog) {
                       folder = dialog->directory().absolutePath();
                       dialog->reject();
                   });
        qputenv("HOME", home);
        QCOMPARE(folder, QDir(m_dir.filePath(QStringLiteral("Documents"))).absolutePath());
    }
};

QV_TEST_MAIN(TestQtFileDialogs)
#include "tst_qtfiledialogs.moc"
