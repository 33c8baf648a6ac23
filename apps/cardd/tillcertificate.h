// The till named by the client certificate of a TLS session.
#pragma once

#include <string>

namespace qiantai::cardd {

// The common name of the certificate the peer of `gnutlsSession` (a
// gnutls_session_t) presented; empty when it presented none, or one that
// the server's trusted authority did not sign or that is out of date.
std::string CertificateTill(void* gnutlsSession);

} // namespace qiantai::cardd
