// The CAs a user names, on Windows: the server's chain is checked by the system's chain engine
// with those CAs as its only roots (the engine's exclusive root store), not the system's.
#include "link/TlsTrust.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstddef>
#include <memory>

namespace {

struct StoreCloser {
    void operator()(void *store) const { CertCloseStore(store, 0); }
};
using Store = std::unique_ptr<void, StoreCloser>;

struct EngineFreer {
    void operator()(HCERTCHAINENGINE engine) const { CertFreeCertificateChainEngine(engine); }
};
using Engine = std::unique_ptr<std::remove_pointer_t<HCERTCHAINENGINE>, EngineFreer>;

struct ChainFreer {
    void operator()(const CERT_CHAIN_CONTEXT *chain) const { CertFreeCertificateChain(chain); }
};
using Chain = std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainFreer>;

struct ContextFreer {
    void operator()(const CERT_CONTEXT *cert) const { CertFreeCertificateContext(cert); }
};
using Context = std::unique_ptr<const CERT_CONTEXT, ContextFreer>;

Store memoryStore() {
    return Store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr));
}

bool add(HCERTSTORE store, const QSslCertificate &cert) {
    const QByteArray der = cert.toDer();
    return !der.isEmpty() &&
           CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                            reinterpret_cast<const BYTE *>(der.constData()),
                                            DWORD(der.size()), CERT_STORE_ADD_ALWAYS, nullptr);
}

// What the chain may carry and still lead to the CAs: dates (the socket tells an expired
// certificate in its own words) and revocation that could not be looked up (nothing is looked
// up).
constexpr DWORD NotAboutTheIssuer = CERT_TRUST_IS_NOT_TIME_VALID |
                                    CERT_TRUST_REVOCATION_STATUS_UNKNOWN |
                                    CERT_TRUST_IS_OFFLINE_REVOCATION;

} // namespace

void TlsTrust::giveToSocket(QSslConfiguration &, const QList<QSslCertificate> &) {}

bool TlsTrust::chainsTo(const QList<QSslCertificate> &chain, const QList<QSslCertificate> &cas) {
    if (chain.isEmpty() || cas.isEmpty())
        return false;
    const Store roots = memoryStore();
    const Store sent = memoryStore();
    if (!roots || !sent)
        return false;
    for (const QSslCertificate &ca : cas) {
        if (!add(roots.get(), ca))
            return false;
    }
    for (qsizetype i = 1; i < chain.size(); ++i) {
        if (!add(sent.get(), chain.at(i)))
            return false;
    }
    const QByteArray der = chain.constFirst().toDer();
    const Context server(CertCreateCertificateContext(
        X509_ASN_ENCODING, reinterpret_cast<const BYTE *>(der.constData()), DWORD(der.size())));
    if (!server)
        return false;

    CERT_CHAIN_ENGINE_CONFIG config{};
    // The structure as Windows 7 has it, up to the exclusive stores: every Windows since takes
    // that size, and so does Wine, which takes no later one.
    config.cbSize =
        offsetof(CERT_CHAIN_ENGINE_CONFIG, hExclusiveTrustedPeople) + sizeof(HCERTSTORE);
    config.hExclusiveRoot = roots.get();
    HCERTCHAINENGINE rawEngine = nullptr;
    if (!CertCreateCertificateChainEngine(&config, &rawEngine))
        return false;
    const Engine engine(rawEngine);

    LPSTR serverAuth = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof(para);
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = &serverAuth;
    PCCERT_CHAIN_CONTEXT rawChain = nullptr;
    if (!CertGetCertificateChain(engine.get(), server.get(), nullptr, sent.get(), &para, 0, nullptr,
                                 &rawChain))
        return false;
    const Chain built(rawChain);
    return built->cChain > 0 && (built->TrustStatus.dwErrorStatus & ~NotAboutTheIssuer) == 0;
}
