#pragma once

#include <signal.h>
#include <sys/resource.h>

// While it lives, no file this process writes grows beyond `bytes`: to a writer it looks like a
// disk that fills up part-way (the write fails, SIGXFSZ ignored). Processes started meanwhile
// inherit the limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = signal(SIGXFSZ, SIG_IGN);
        rlimit tight = m_saved;
        tight.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &tight) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // The limit took effect (a test fails when it did not).
    bool isSet() const { return m_set; }

private:
    rlimit m_saved{};
    sighandler_t m_handler = SIG_DFL;
    bool m_set = false;
};
