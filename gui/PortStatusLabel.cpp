#include "gui/PortStatusLabel.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/ControllerLink.h"

PortStatusLabel::PortStatusLabel(ControllerLink &link, StoredSettings &settings, QWidget *parent)
    : QLabel(parent), m_link(link), m_settings(settings) {
    setObjectName(QStringLiteral("lblPortStatus"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(&m_link, &ControllerLink::portOpenChanged, this, &PortStatusLabel::refresh);
    connect(&m_link, &ControllerLink::portOpenFailed, this, &PortStatusLabel::refresh);
    refresh();
}

void PortStatusLabel::refresh() {
    const int n = m_settings.PortNo;
    if (m_link.isPortOpen()) {
        setText(
            QStringLiteral("COM%1  %2  —  %3").arg(n).arg(m_link.openDevicePath(), ResText(1511)));
        setToolTip(text());
        return;
    }
    if (m_link.openFailed()) {
        const PortCheck &failure = m_link.lastOpenFailure();
        setText(ResText(1302).arg(n).arg(
            failure.mapPath.isEmpty() ? ResText(1304) : failure.mapPath, failure.stateText()));
        setToolTip(text());
        return;
    }
    const QString path = m_link.devicePathFor(n);
    setText(QStringLiteral("COM%1  %2  —  %3")
                .arg(n)
                .arg(path.isEmpty() ? ResText(1508) : path, ResText(1510)));
    setToolTip(text());
}
