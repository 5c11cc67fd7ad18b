#include "gui/PortStatusLabel.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/ControllerLink.h"

PortStatusLabel::PortStatusLabel(ControllerLink &link, StoredSettings &settings, QWidget *parent)
    : QLabel(parent), m_link(link), m_settings(settings) {
    setObjectName(QStringLiteral("lblPortStatus"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(&m_link, &ControllerLink::portStateChanged, this, &PortStatusLabel::refresh);
    refresh();
}

void PortStatusLabel::refresh() {
    const int n = m_settings.PortNo;
    switch (m_link.portState()) {
    case PortState::Open:
        setText(PortMap::statusLine(n, m_link.openDevicePath(), ResText(1511)));
        break;
    case PortState::OpenFailed:
        setText(m_link.openFailureText());
        break;
    case PortState::Closed:
    case PortState::Lost:
    case PortState::ServerClosed: {
        const QString path = m_link.devicePathFor(n);
        setText(PortMap::statusLine(n, path.isEmpty() ? ResText(1508) : path, ResText(1510)));
        break;
    }
    }
    setToolTip(text());
}
