#include "gui/frmOptions.h"

#include "base/PlatformTexts.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"
#include "gui/FormBuild.h"
#include "gui/LocaliseForm.h"
#include "gui/Twips.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "link/PortMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

frmOptions::frmOptions(StoredSettings &settings, ControllerLink &link, UserPrompt &prompt,
                       frmMain &main)
    : QDialog(&main), m_settings(settings), m_link(link), m_prompt(prompt), m_main(main),
      m_ports(settings, link) {
    setObjectName(QStringLiteral("frmOptions"));
    setTagId(this, 425);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ssTab3 = named<QTabWidget>("ssTab3", this);
    ssTab3->addTab(buildPortTab(), QString());
    ssTab3->addTab(buildDisplayTab(), QString());
    ssTab3->addTab(buildEtcTab(), QString());

    cmdOK = tagged<QPushButton>("cmdOK", this, 432);
    cmdOK->setDefault(true);
    cmdCancel = tagged<QPushButton>("cmdCancel", this, 433);
    cmdApply = tagged<QPushButton>("cmdApply", this, 421);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {cmdOK, cmdCancel, cmdApply})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ssTab3);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::onOK);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdApply, &QPushButton::clicked, this, &QDialog::reject);
    connect(chkParametaShow, &QCheckBox::stateChanged, this, &frmOptions::onParametaShow);
    connect(comboPortNo, &QComboBox::currentTextChanged, this, &frmOptions::showChosenDevice);
    load();
}

QWidget *frmOptions::buildPortTab() {
    auto *tab = new QWidget;
    lblPortComment = tagged<QLabel>("lblPortComment", tab, 429);
    lblPortComment->setWordWrap(true);
    lblPortNo = tagged<QLabel>("lblPortNo", tab, 430);
    comboPortNo = named<QComboBox>("comboPortNo", tab);
    comboPortNo->setEditable(true);
    // What the user typed is what is read: no completion of "CO" into a listed "COM1".
    comboPortNo->setCompleter(nullptr);
    comboPortNo->setMinimumWidth(Twips::toPixels(1500));
    lblPortDevice = named<QLabel>("lblPortDevice", tab);
    lblPortDevice->setWordWrap(true);
    lblPortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblPortDevice->setMinimumWidth(Twips::toPixels(6600));
    chkPortOccupy = tagged<QCheckBox>("chkPortOccupy", tab, 431);

    auto *choice = new QHBoxLayout;
    choice->addWidget(lblPortNo);
    choice->addWidget(comboPortNo);
    choice->addStretch();
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(lblPortComment);
    layout->addLayout(choice);
    layout->addWidget(lblPortDevice);
    layout->addStretch();
    layout->addWidget(chkPortOccupy);
    return tab;
}

QWidget *frmOptions::buildDisplayTab() {
    auto *tab = new QWidget;
    lblHyoujiComment = tagged<QLabel>("lblHyoujiComment", tab, 434);
    lblHyoujiComment->setWordWrap(true);
    chkParametaShow = tagged<QCheckBox>("chkParametaShow", tab, 435);
    framParaShow = named<QGroupBox>("framParaShow", tab);
    chkHomeParaShow = tagged<QCheckBox>("chkHomeParaShow", framParaShow, 436);
    chkHomeParaShow->setEnabled(false);
    auto *frame = new QVBoxLayout(framParaShow);
    frame->addWidget(chkHomeParaShow);
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(lblHyoujiComment);
    layout->addWidget(chkParametaShow);
    layout->addWidget(framParaShow);
    layout->addStretch();
    return tab;
}

QWidget *frmOptions::buildEtcTab() {
    auto *tab = new QWidget;
    tblPortMap = named<QTableWidget>("tblPortMap", tab, 0, 4);
    const int heads[] = {1527, 1528, 1529, 1530};
    for (int column = 0; column < 4; ++column) {
        auto *head = new QTableWidgetItem;
        head->setData(Qt::UserRole, QString::number(heads[column]));
        tblPortMap->setHorizontalHeaderItem(column, head);
    }
    tblPortMap->verticalHeader()->hide();
    tblPortMap->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPortMap->horizontalHeader()->setStretchLastSection(true);
    auto *heading = named<QLabel>("lblSettingsFileHead", tab);
    setTagId(heading, 1531);
    lblSettingsFile = named<QLabel>("lblSettingsFile", tab);
    lblSettingsFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSettingsFile->setWordWrap(true);
    spnMapPortNo = named<QSpinBox>("spnMapPortNo", tab);
    spnMapPortNo->setRange(PortMap::FirstNo, PortMap::LastNo);
    spnMapPortNo->setPrefix(QStringLiteral("COM"));
    txtMapPath = named<QLineEdit>("txtMapPath", tab);
    txtMapPath->setPlaceholderText(PlatformTexts::portEntryForms());
    txtMapPath->setMinimumWidth(Twips::toPixels(4000));
    cmdMapSet = tagged<QPushButton>("cmdMapSet", tab, 1535);
    lblMapResult = named<QLabel>("lblMapResult", tab);
    lblMapResult->setWordWrap(true);
    lblMapResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *entry = new QHBoxLayout;
    entry->addWidget(spnMapPortNo);
    entry->addWidget(txtMapPath, 1);
    entry->addWidget(cmdMapSet);
    connect(cmdMapSet, &QPushButton::clicked, this, &frmOptions::onMapSet);
    connect(txtMapPath, &QLineEdit::returnPressed, this, &frmOptions::onMapSet);
    chkJournal = tagged<QCheckBox>("chkJournal", tab, 1572);
    // Each language under its own name, so that a user who cannot read the other one finds it.
    lblLanguage = tagged<QLabel>("lblLanguage", tab, 1640);
    comboLanguage = named<QComboBox>("comboLanguage", tab);
    comboLanguage->addItems({QStringLiteral("日本語"), QStringLiteral("English")});
    lblLanguage->setBuddy(comboLanguage);
    auto *language = new QHBoxLayout;
    language->addWidget(lblLanguage);
    language->addWidget(comboLanguage);
    language->addStretch();
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(tblPortMap);
    layout->addLayout(entry);
    layout->addWidget(lblMapResult);
    layout->addWidget(chkJournal);
    // The window's write shows what it will change before its question.
    chkWritePreview = tagged<QCheckBox>("chkWritePreview", tab, 1820);
    layout->addWidget(chkWritePreview);
    layout->addLayout(language);
    layout->addWidget(buildTlsFrame(tab));
    layout->addWidget(heading);
    layout->addWidget(lblSettingsFile);
    return tab;
}

QGroupBox *frmOptions::buildTlsFrame(QWidget *tab) {
    framTls = tagged<QGroupBox>("framTls", tab, 1674);
    auto *form = new QFormLayout(framTls);
    const auto row = [this, form](const char *name, int label, bool chooseFile) {
        auto *field = named<QLineEdit>(name, framTls);
        field->setMinimumWidth(Twips::toPixels(4000));
        const QByteArray captionName = QByteArray(name) + "Label";
        auto *caption = tagged<QLabel>(captionName.constData(), framTls, label);
        caption->setBuddy(field);
        if (!chooseFile) {
            form->addRow(caption, field);
            return field;
        }
        const QByteArray chooseName = QByteArray(name) + "Choose";
        auto *choose = named<QPushButton>(chooseName.constData(), framTls);
        choose->setText(QStringLiteral("..."));
        choose->setFixedWidth(choose->sizeHint().height() * 2);
        connect(choose, &QPushButton::clicked, this, [this, field, caption] {
            const QString file = QFileDialog::getOpenFileName(this, caption->text(), field->text());
            if (!file.isEmpty())
                field->setText(QDir::toNativeSeparators(file));
        });
        auto *line = new QHBoxLayout;
        line->addWidget(field, 1);
        line->addWidget(choose);
        form->addRow(caption, line);
        return field;
    };
    txtTlsCa = row("txtTlsCa", 1675, true);
    txtTlsPin = row("txtTlsPin", 1676, false);
    txtTlsCert = row("txtTlsCert", 1677, true);
    txtTlsKey = row("txtTlsKey", 1678, true);
    return framTls;
}

TlsSettings frmOptions::typedTls() const {
    return {txtTlsCa->text().trimmed(), txtTlsPin->text().trimmed(), txtTlsCert->text().trimmed(),
            txtTlsKey->text().trimmed()};
}

void frmOptions::load() {
    LocaliseForm(this);
    for (int tab = 0; tab < 3; ++tab)
        ssTab3->setTabText(tab, ResText(426 + tab));
    chkPortOccupy->setChecked(m_settings.OccupyPort);
    chkJournal->setChecked(m_settings.KeepJournal);
    chkWritePreview->setChecked(m_settings.PreviewWrite);
    StoredSettings stored; // the stored language, not one asked for on the command line
    stored.ReadLanguage();
    m_storedLanguage = stored.LanguageNo == 1 ? 0 : 1;
    comboLanguage->setCurrentIndex(m_storedLanguage);
    const TlsSettings tls = TlsSettings::from(m_settings);
    txtTlsCa->setText(tls.caFile);
    txtTlsPin->setText(tls.pin);
    txtTlsCert->setText(tls.certFile);
    txtTlsKey->setText(tls.keyFile);
    FillPortList();
    if (m_main.ShowParameters()) {
        chkParametaShow->setChecked(true);
        chkHomeParaShow->setChecked(m_main.HomeParamsEditable());
    } else {
        chkParametaShow->setChecked(false);
    }
    onParametaShow();
    fillPortMapTable();
    QString settingsText = StoredSettings::filePath();
    if (!m_link.deviceOverride().isEmpty())
        settingsText += u'\n' + ResText(1120).arg(m_link.deviceOverride());
    lblSettingsFile->setText(settingsText);
    showChosenDevice();
    adjustSize();
    Twips::placeBesideMain(this, &m_main);
}

void frmOptions::FillPortList() {
    comboPortNo->clear();
    int position = 0;
    for (const QString &name : m_ports.offered())
        comboPortNo->addItem(name, position++);
    comboPortNo->setCurrentText(m_ports.current());
}

qint16 frmOptions::ChosenPortNo() const {
    return PortChoice::ChosenPortNo(comboPortNo->currentText());
}

void frmOptions::onParametaShow() {
    switch (chkParametaShow->checkState()) {
    case Qt::Checked:
        chkHomeParaShow->setEnabled(true);
        framParaShow->setEnabled(true);
        break;
    case Qt::Unchecked:
        chkHomeParaShow->setEnabled(false);
        chkHomeParaShow->setChecked(false);
        framParaShow->setEnabled(false);
        break;
    case Qt::PartiallyChecked:
        break;
    }
}

void frmOptions::onOK() {
    // TLS settings that could not be used are not stored: the dialog stays open on them.
    const TlsSettings tls = typedTls();
    if (const QString fault = tls.fault(); !fault.isEmpty()) {
        m_prompt.MsgBox(fault);
        ssTab3->setCurrentIndex(2);
        return;
    }
    if (tls != TlsSettings::from(m_settings)) {
        tls.applyTo(m_settings);
        m_settings.SaveTls();
    }
    if (!m_ports.accept(comboPortNo->currentText()))
        m_prompt.MsgBox(ResText(464));
    m_settings.OccupyPort = chkPortOccupy->isChecked();
    m_settings.SavePortOccupy();
    m_settings.KeepJournal = chkJournal->isChecked();
    m_settings.SaveKeepJournal();
    m_settings.PreviewWrite = chkWritePreview->isChecked();
    m_settings.SavePreviewWrite();
    if (comboLanguage->currentIndex() != m_storedLanguage)
        StoredSettings::SaveLanguage(comboLanguage->currentIndex() == 0);
    if (chkParametaShow->isChecked()) {
        m_main.setShowParameters(true);
        const bool editable = chkHomeParaShow->isChecked();
        m_main.setHomeParamsEditable(editable);
        if (editable)
            m_main.HomePara_Yuko();
        else
            m_main.HomePara_Muko();
    } else {
        m_main.setShowParameters(false);
    }
    accept();
}

// Which device the chosen COM number is, and why it cannot be opened when it cannot.
void frmOptions::showChosenDevice() {
    lblPortDevice->setText(m_ports.deviceText(ChosenPortNo()));
}

void frmOptions::onMapSet() {
    const int n = spnMapPortNo->value();
    const QString path = txtMapPath->text().trimmed();
    if (path.isEmpty())
        return;
    // A mistyped address is not stored: it would only fail at the next exchange.
    if (m_ports.setEntry(n, path) != PortNameFault::None) {
        lblMapResult->setText(ResText(1532));
        return;
    }
    lblMapResult->setText(m_ports.statusLine(n));
    fillPortMapTable();
    FillPortList();
    showChosenDevice();
}

void frmOptions::fillPortMapTable() {
    tblPortMap->setRowCount(0);
    for (const PortEntry &entry : m_ports.mapRows()) {
        const PortCheck &check = entry.check;
        const int row = tblPortMap->rowCount();
        tblPortMap->insertRow(row);
        const QString cells[] = {PortMap::comName(entry.portNo), check.mapPath, check.description,
                                 check.stateText()};
        for (int column = 0; column < 4; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            tblPortMap->setItem(row, column, item);
        }
    }
    tblPortMap->resizeColumnsToContents();
}
