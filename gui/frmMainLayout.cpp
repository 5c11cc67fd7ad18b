// Building the main window's controls: the mode frame, the Move-mode frame, the position data
// with the file and controller buttons, and the status frame.
#include "gui/FormBuild.h"
#include "gui/LocaliseForm.h"
#include "gui/UpDown.h"
#include "gui/frmMain.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// A sunken box for a value the window shows (ACC/DEC steps, completed position, alarm code).
void boxValue(QLabel *label, int width) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Base);
    label->setFixedWidth(width);
}

QLineEdit *numberField(const char *name, QWidget *parent, int width) {
    auto *field = named<QLineEdit>(name, parent);
    field->setFixedWidth(width);
    field->setAlignment(Qt::AlignRight);
    return field;
}

QComboBox *velocityList(const char *name, QWidget *parent) {
    auto *combo = named<QComboBox>(name, parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(10);
    combo->setFixedWidth(62);
    return combo;
}

QPushButton *pictureButton(const char *name, QWidget *parent, const char *picture, int tagId,
                           int toolTipId) {
    auto *button = tagged<QPushButton>(name, parent, tagId, toolTipId);
    button->setIcon(QIcon(QLatin1String(picture)));
    button->setIconSize(QSize(24, 24));
    button->setMinimumHeight(34);
    return button;
}

// A lamp: two pictures at the same place, the second lying over the first.
QWidget *lamp(QWidget *parent, QLabel *&under, const char *underName, const char *underPicture,
              QLabel *&over, const char *overName, const char *overPicture) {
    auto *holder = new QWidget(parent);
    holder->setFixedSize(20, 20);
    under = named<QLabel>(underName, holder);
    under->setPixmap(QPixmap(QLatin1String(underPicture)));
    under->setGeometry(0, 0, 20, 20);
    over = named<QLabel>(overName, holder);
    over->setPixmap(QPixmap(QLatin1String(overPicture)));
    over->setGeometry(0, 0, 20, 20);
    over->raise();
    return holder;
}

} // namespace

QWidget *frmMain::buildModeFrame() {
    frmJog = tagged<QGroupBox>("frmJog", this, 1);
    cmdModeChange = tagged<QPushButton>("cmdModeChange", frmJog, 49, 51);
    lblMoveMode = tagged<QLabel>("lblMoveMode", frmJog, 2);
    lblEditMode = tagged<QLabel>("lblEditMode", frmJog, 3);

    auto *layout = new QGridLayout(frmJog);
    layout->addWidget(cmdModeChange, 0, 0, 1, 2);
    for (int column : {0, 1}) {
        QLabel *label = column == 0 ? lblMoveMode : lblEditMode;
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->setMinimumHeight(24);
        layout->addWidget(label, 1, column);
    }
    return frmJog;
}

QWidget *frmMain::buildMoveFrame() {
    frmMove = tagged<QGroupBox>("frmMove", this, 4, 52);
    framSelectPosi = tagged<QGroupBox>("framSelectPosi", frmMove, 5, 53);
    auto *choices = new QVBoxLayout(framSelectPosi);
    for (int i = 0; i < 3; ++i) {
        optPosiNo[i] = new QRadioButton(framSelectPosi);
        optPosiNo[i]->setObjectName(QStringLiteral("optPosiNo_%1").arg(i));
        choices->addWidget(optPosiNo[i]);
    }
    setTagId(optPosiNo[0], 34);
    setTagId(optPosiNo[1], 35);
    setTagId(optPosiNo[2], 8);
    optPosiNo[0]->setChecked(true);

    cmdSelectMove = tagged<QPushButton>("cmdSelectMove", frmMove, 9, 54);
    cmdStop = tagged<QPushButton>("cmdStop", frmMove, 10, 55);
    cmdHome = tagged<QPushButton>("cmdHome", frmMove, 11, 56);
    cmdCycleTest = tagged<QPushButton>("cmdCycleTest", frmMove, 1802);
    lblKanryoiti = tagged<QLabel>("lblKanryoiti", frmMove, 12);
    lblKanryoNo = named<QLabel>("lblKanryoNo", frmMove);
    boxValue(lblKanryoNo, 48);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {cmdSelectMove, cmdStop, cmdHome, cmdCycleTest})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *completed = new QHBoxLayout;
    completed->addWidget(lblKanryoiti);
    completed->addWidget(lblKanryoNo);
    completed->addStretch();
    auto *layout = new QGridLayout(frmMove);
    layout->addWidget(framSelectPosi, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addLayout(completed, 1, 0, 1, 2);
    return frmMove;
}

QWidget *frmMain::buildPositionFrame() {
    framPosiData = tagged<QGroupBox>("framPosiData", this, 21, 58);
    framDousaPara = tagged<QGroupBox>("framDousaPara", framPosiData, 28);

    QWidget *f = framDousaPara;
    lblVel = tagged<QLabel>("lblVel", f, 29);
    lblAcc = tagged<QLabel>("lblAcc", f, 30);
    lblGensoku = tagged<QLabel>("lblGensoku", f, 31);
    lblTimer = tagged<QLabel>("lblTimer", f, 32);
    lblPosition = tagged<QLabel>("lblPosition", f, 33);
    lblPosi1 = tagged<QLabel>("lblPosi1", f, 34);
    lblPosi2 = tagged<QLabel>("lblPosi2", f, 35);

    comboVEL1 = velocityList("comboVEL1", f);
    comboVEL2 = velocityList("comboVEL2", f);
    lblPosi1Acc = named<QLabel>("lblPosi1Acc", f, QStringLiteral("1"));
    lblPosi2Acc = named<QLabel>("lblPosi2Acc", f, QStringLiteral("1"));
    lblPosi1Gensoku = named<QLabel>("lblPosi1Gensoku", f, QStringLiteral("1"));
    lblPosi2Gensoku = named<QLabel>("lblPosi2Gensoku", f, QStringLiteral("1"));
    UpDown1 = named<UpDown>("UpDown1", f, lblPosi1Acc, 1, 9);
    UpDown2 = named<UpDown>("UpDown2", f, lblPosi2Acc, 1, 9);
    UpDownP1Gen = named<UpDown>("UpDownP1Gen", f, lblPosi1Gensoku, 1, 9);
    UpDownP2Gen = named<UpDown>("UpDownP2Gen", f, lblPosi2Gensoku, 1, 9);
    txtPosi1Timer = numberField("txtPosi1Timer", f, 56);
    txtPosi2Timer = numberField("txtPosi2Timer", f, 56);
    txtPosi1 = numberField("txtPosi1", f, 80);
    txtPosi2 = numberField("txtPosi2", f, 80);

    auto *table = new QGridLayout(framDousaPara);
    table->setHorizontalSpacing(10);
    const QList<QLabel *> headings = {lblVel, lblAcc, lblGensoku, lblTimer, lblPosition};
    for (int c = 0; c < headings.size(); ++c) {
        headings[c]->setAlignment(Qt::AlignCenter);
        table->addWidget(headings[c], 0, c + 1);
    }
    const auto addStep = [&](int row, int column, QLabel *value, UpDown *spin) {
        boxValue(value, 28);
        auto *pair = new QHBoxLayout;
        pair->setSpacing(1);
        pair->addStretch();
        pair->addWidget(value);
        pair->addWidget(spin);
        pair->addStretch();
        table->addLayout(pair, row, column);
    };
    // A row a position: the label, VEL, ACC and DEC with their steps, pausing time, pulses.
    const struct {
        QLabel *label;
        QComboBox *vel;
        QLabel *acc, *dec;
        UpDown *accStep, *decStep;
        QLineEdit *pause, *pulses;
    } positions[] = {{lblPosi1, comboVEL1, lblPosi1Acc, lblPosi1Gensoku, UpDown1, UpDownP1Gen,
                      txtPosi1Timer, txtPosi1},
                     {lblPosi2, comboVEL2, lblPosi2Acc, lblPosi2Gensoku, UpDown2, UpDownP2Gen,
                      txtPosi2Timer, txtPosi2}};
    for (int row = 1; row <= 2; ++row) {
        const auto &r = positions[row - 1];
        table->addWidget(r.label, row, 0);
        table->addWidget(r.vel, row, 1, Qt::AlignCenter);
        addStep(row, 2, r.acc, r.accStep);
        addStep(row, 3, r.dec, r.decStep);
        table->addWidget(r.pause, row, 4, Qt::AlignCenter);
        table->addWidget(r.pulses, row, 5, Qt::AlignCenter);
        QWidget *const tipped[] = {r.vel, r.acc, r.dec, r.pause, r.pulses};
        for (int i = 0; i < 5; ++i)
            setToolTipId(tipped[i], 65 + i);
    }
    // Tab runs along each row, as the values are read: VEL, ACC, DEC, pausing time, position.
    QWidget *const rows[] = {comboVEL1, UpDown1, UpDownP1Gen, txtPosi1Timer, txtPosi1,
                             comboVEL2, UpDown2, UpDownP2Gen, txtPosi2Timer, txtPosi2};
    for (size_t i = 1; i < std::size(rows); ++i)
        QWidget::setTabOrder(rows[i - 1], rows[i]);

    QWidget *p = framPosiData;
    cmdFileOpen = pictureButton("cmdFileOpen", p, ":/images/fileOpen.png", 22, 59);
    cmdSaveFile = pictureButton("cmdSaveFile", p, ":/images/fileSave.png", 23, 60);
    cmdGetfromCt = pictureButton("cmdGetfromCt", p, ":/images/getfromCt.png", 24, 61);
    cmdLoadtoCt = pictureButton("cmdLoadtoCt", p, ":/images/loadtoCt.png", 25, 62);
    cmdShogoCt = pictureButton("cmdShogoCt", p, ":/images/shogoCt.png", 26, 63);
    cmdShogoFile = pictureButton("cmdShogoFile", p, ":/images/shogoFile.png", 27, 64);

    auto *buttons = new QGridLayout;
    buttons->addWidget(cmdFileOpen, 0, 0);
    buttons->addWidget(cmdGetfromCt, 0, 1);
    buttons->addWidget(cmdShogoCt, 0, 2);
    buttons->addWidget(cmdSaveFile, 1, 0);
    buttons->addWidget(cmdLoadtoCt, 1, 1);
    buttons->addWidget(cmdShogoFile, 1, 2);
    auto *layout = new QVBoxLayout(framPosiData);
    layout->addWidget(framDousaPara);
    layout->addLayout(buttons);
    layout->addStretch();
    return framPosiData;
}

QWidget *frmMain::buildStatusFrame() {
    frmTrancefer = tagged<QGroupBox>("frmTrancefer", this, 13);
    QWidget *f = frmTrancefer;
    cmdReset = tagged<QPushButton>("cmdReset", f, 19);
    lblJotai = tagged<QLabel>("lblJotai", f, 20, 57);
    QWidget *portLamp = lamp(f, imgPortWhite, "imgPortWhite", ":/images/lampWhite.png",
                             imgPortGreen, "imgPortGreen", ":/images/lampGreen.png");
    portLamp->setToolTip(QString()); // the lamp explains itself through lblJotai
    imgPortGreen->hide();
    lblError = tagged<QLabel>("lblError", f, 16);
    QWidget *alarmLamp = lamp(f, imgAlarmGreen, "imgAlarmGreen", ":/images/lampGreen.png",
                              imgAlarmLed, "imgAlarmLed", ":/images/lampRed.png");
    imgAlarmLed->hide();
    Label1 = tagged<QLabel>("Label1", f, 17);
    lblAlarmNo = named<QLabel>("lblAlarmNo", f);
    boxValue(lblAlarmNo, 32);
    lblErrorComment = tagged<QLabel>("lblErrorComment", f, 18);
    lblErrorComment->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblErrorComment->setMinimumWidth(200);
    lblFileName = tagged<QLabel>("lblFileName", f, 14);
    lblShowName = tagged<QLabel>("lblShowName", f, 15);
    lblShowName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblShowName->setAutoFillBackground(true);
    lblShowName->setBackgroundRole(QPalette::Base);

    auto *layout = new QGridLayout(frmTrancefer);
    layout->addWidget(cmdReset, 0, 0);
    auto *lamps = new QHBoxLayout;
    lamps->addWidget(lblJotai);
    lamps->addWidget(portLamp);
    lamps->addSpacing(16);
    lamps->addWidget(lblError);
    lamps->addWidget(alarmLamp);
    lamps->addSpacing(8);
    lamps->addWidget(Label1);
    lamps->addWidget(lblAlarmNo);
    lamps->addWidget(lblErrorComment, 1);
    layout->addLayout(lamps, 0, 1);
    layout->addWidget(lblFileName, 1, 0);
    layout->addWidget(lblShowName, 1, 1);
    return frmTrancefer;
}

void frmMain::buildWindow() {
    // The controls scroll inside the window when a small screen or a large scale factor leaves
    // less room than they need.
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("scrollMain"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    setCentralWidget(scroller);
    auto *central = new QWidget(scroller);
    central->setObjectName(QStringLiteral("centralWidget"));
    scroller->setWidget(central);
    m_controls = central;
    auto *layout = new QGridLayout(central);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    layout->addWidget(buildModeFrame(), 0, 0);
    layout->addWidget(buildMoveFrame(), 1, 0);
    layout->addWidget(buildPositionFrame(), 0, 1, 2, 1);
    layout->addWidget(buildStatusFrame(), 2, 0, 1, 2);
    auto *parameters = new QHBoxLayout;
    parameters->addWidget(buildSensorFrame(), 3);
    parameters->addWidget(buildHomingFrame(), 2);
    layout->addLayout(parameters, 3, 0, 1, 2);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);
    buildMenus();
}
