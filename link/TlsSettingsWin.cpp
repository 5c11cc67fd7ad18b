// Whether a key file is kept private, on Windows: the allow entries of its access list.
#include "link/TlsSettings.h"

#include "base/ResText.h"

#include <QDir>
#include <QStringList>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <memory>

namespace {

struct LocalFreer {
    void operator()(void *p) const { LocalFree(p); }
};

// The account's name as Windows shows it ("BUILTIN\Users"), or its SID's text.
QString accountName(PSID sid) {
    wchar_t name[256], domain[256];
    DWORD nameSize = 256, domainSize = 256;
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) {
        const QString account = QString::fromWCharArray(name, int(nameSize));
        return domainSize > 0 ? QString::fromWCharArray(domain, int(domainSize)) + u'\\' + account
                              : account;
    }
    wchar_t *text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return QStringLiteral("?");
    const std::unique_ptr<wchar_t, LocalFreer> owned(text);
    return QString::fromWCharArray(text);
}

// The user this program runs as.
std::unique_ptr<char[]> processUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::unique_ptr<char[]> user(size ? new char[size] : nullptr);
    const bool ok = user && GetTokenInformation(token, TokenUser, user.get(), size, &size);
    CloseHandle(token);
    return ok ? std::move(user) : nullptr;
}

} // namespace

QString TlsSettings::keyExposure(const QString &keyFile) {
    const std::wstring path = QDir::toNativeSeparators(keyFile).toStdWString();
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR described = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &dacl, nullptr, &described) != ERROR_SUCCESS)
        return {};
    const std::unique_ptr<void, LocalFreer> descriptor(described);
    const std::unique_ptr<char[]> user = processUser();
    const PSID me = user ? reinterpret_cast<TOKEN_USER *>(user.get())->User.Sid : nullptr;

    QStringList readers;
    if (!dacl) {
        // No access list at all: everyone may do anything with the file.
        DWORD size = SECURITY_MAX_SID_SIZE;
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        if (CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size))
            readers.append(accountName(everyone));
    }
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void *entry = nullptr;
        if (!GetAce(dacl, i, &entry))
            continue;
        const auto *header = static_cast<ACE_HEADER *>(entry);
        // Deny entries are not weighed: an entry that allows reading is told even if another
        // takes it back, which errs on the side of refusing.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        const auto *allowed = static_cast<ACCESS_ALLOWED_ACE *>(entry);
        if (!(allowed->Mask & (FILE_READ_DATA | GENERIC_READ | GENERIC_ALL)))
            continue;
        const PSID sid = const_cast<DWORD *>(&allowed->SidStart);
        const bool ownerOrSystem = (owner && EqualSid(sid, owner)) || (me && EqualSid(sid, me)) ||
                                   IsWellKnownSid(sid, WinLocalSystemSid) ||
                                   IsWellKnownSid(sid, WinBuiltinAdministratorsSid) ||
                                   IsWellKnownSid(sid, WinCreatorOwnerRightsSid);
        if (!ownerOrSystem && !readers.contains(accountName(sid)))
            readers.append(accountName(sid));
    }
    return readers.isEmpty() ? QString()
                             : ResText(1679).arg(keyFile, readers.join(QStringLiteral(", ")));
}
