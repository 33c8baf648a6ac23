#include "tillcertificate.h"

#include <gnutls/gnutls.h>
#include <gnutls/x509.h>

namespace qiantai::cardd {

std::string CertificateTill(void* gnutlsSession)
{
    const auto session = static_cast<gnutls_session_t>(gnutlsSession);
    if (!session)
        return {};
    unsigned status = 0;
    if (gnutls_certificate_verify_peers2(session, &status) != GNUTLS_E_SUCCESS || status != 0)
        return {};
    unsigned count = 0;
    const gnutls_datum_t* chain = gnutls_certificate_get_peers(session, &count);
    if (!chain || count == 0)
        return {};
    gnutls_x509_crt_t certificate = nullptr;
    if (gnutls_x509_crt_init(&certificate) != GNUTLS_E_SUCCESS)
        return {};
    std::string name;
    char text[256];
    size_t size = sizeof text;
    if (gnutls_x509_crt_import(certificate, &chain[0], GNUTLS_X509_FMT_DER) == GNUTLS_E_SUCCESS &&
        gnutls_x509_crt_get_dn_by_oid(certificate, GNUTLS_OID_X520_COMMON_NAME, 0, 0, text, &size) ==
            GNUTLS_E_SUCCESS)
        name.assign(text, size);
    gnutls_x509_crt_deinit(certificate);
    return name;
}

} // namespace qiantai::cardd
