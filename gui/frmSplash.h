#pragma once

#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;

// The window shown while the program starts: logo, product name, version, the systems it runs on
// and the maker's notice. Its timer ends the splash time; start-up waits for SplashDone.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int SplashMs = 2000;

    explicit frmSplash(QWidget *parent = nullptr);

    bool SplashDone = false;
    QTimer timerSplash;

    QFrame *fraMainFrame = nullptr;
    QLabel *picLogo = nullptr, *lblProductName = nullptr, *lblVersion = nullptr;
    QLabel *lblFight = nullptr, *lblCompany = nullptr, *lblCopyright = nullptr;
    QLabel *lblWarning = nullptr;

private:
    void onTimer();
};
