#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

// The two-choice question dialog: a description, two option buttons, OK and (optionally) Cancel.
class frmSelection : public QDialog {
    Q_OBJECT
public:
    explicit frmSelection(QWidget *parent = nullptr);

    qint16 SelectedItemNo = 0;        // 0 first option, 1 second option, -1 cancelled
    bool SelectCancelBtnNasi = false; // shown without a Cancel button

    QLabel *lblSelectSetumei = nullptr;
    QRadioButton *optSelectKomoku[2] = {nullptr, nullptr};
    QPushButton *cmdSelectOk = nullptr;
    QPushButton *cmdSelectCancel = nullptr;

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void onOk();
    void onCancel();
};

// Asks a two-choice question and returns 0 or 1 for the option chosen, -1 for Cancel. With
// noCancel 1 there is no Cancel button and the dialog cannot be closed but by OK.
qint16 AskSelection(QWidget *mainWindow, const QString &caption, const QString &description,
                    const QString &first, const QString &second, qint16 noCancel);
