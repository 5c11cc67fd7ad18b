#include "session/Session.h"

#include "base/FileDialogs.h"
#include "base/MainScreen.h"
#include "base/ProgressView.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/Verification.h"
#include "iomon/IoMonitor.h"
#include "ops/ControllerModes.h"
#include "ops/MoveOperations.h"
#include "print/PrintOperation.h"

struct Session::Operations {
    Operations(Session &s, MainScreen &main, FileDialogs &dialogs, ProgressView &progress)
        : screen(main), files(s.copies, main, s.m_prompt, dialogs),
          transfer(s.link, s.m_prompt, s.copies, main, files, progress),
          verification(s.link, transfer, s.copies, main, s.m_prompt, files, dialogs),
          moves(s.link, s.m_prompt, main), modes(s.link, s.m_prompt, main),
          printing(s.copies, main, files) {
        transfer.setJournal(&s.journal);
        transfer.setPreviewFrom(&s.settings);
    }

    MainScreen &screen;
    FileOperations files;
    ControllerTransfer transfer;
    Verification verification;
    MoveOperations moves;
    ControllerModes modes;
    PrintOperation printing;
};

Session::Session(UserPrompt &prompt) : m_prompt(prompt) {}

Session::~Session() {
    link.ClosePort();
}

void Session::attach(MainScreen &screen, FileDialogs &dialogs, ProgressView &progress) {
    // A second front end would leave the first one's operations pointing at the wrong screen.
    if (m_ops)
        qFatal("Session::attach called twice");
    m_ops = std::make_unique<Operations>(*this, screen, dialogs, progress);
}

Session::Operations &Session::ops() const {
    // Checked in every build: an operation used before its front end is attached has no screen
    // to work on, and going on would dereference null.
    if (!m_ops)
        qFatal("Session: an operation was used before attach()");
    return *m_ops;
}

MainScreen &Session::screen() const {
    return ops().screen;
}

FileOperations &Session::files() const {
    return ops().files;
}

ControllerTransfer &Session::transfer() const {
    return ops().transfer;
}

Verification &Session::verification() const {
    return ops().verification;
}

MoveOperations &Session::moves() const {
    return ops().moves;
}

ControllerModes &Session::modes() const {
    return ops().modes;
}

PrintOperation &Session::printing() const {
    return ops().printing;
}

IoMonitor &Session::ioMonitor() {
    if (!m_ioMonitor)
        m_ioMonitor = std::make_unique<IoMonitor>(link, m_prompt);
    return *m_ioMonitor;
}
