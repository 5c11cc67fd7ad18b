#pragma once

#include <QLabel>

class ControllerLink;
class StoredSettings;

// The status bar's port field: the current COM number with its device path and whether the port
// is open, closed or could not be opened, and then why.
class PortStatusLabel : public QLabel {
    Q_OBJECT
public:
    PortStatusLabel(ControllerLink &link, StoredSettings &settings, QWidget *parent = nullptr);

    // Shows the port as it is now (also after the port number has changed).
    void refresh();

private:
    ControllerLink &m_link;
    StoredSettings &m_settings;
};
