#include "signing/cmssigner.h"

#include "signing/signingidentity.h"

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/ess.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace {

struct CmsFree {
    void operator()(CMS_ContentInfo *cms) const { CMS_ContentInfo_free(cms); }
};
struct BioFree {
    void operator()(BIO *bio) const { BIO_free(bio); }
};

// Binds the signer's certificate into the signed attributes, so that the
// certificate cannot be swapped for another with the same key.
bool addSigningCertificateV2(CMS_SignerInfo *signerInfo, X509 *certificate)
{
    ESS_SIGNING_CERT_V2 *ess = OSSL_ESS_signing_cert_v2_new_init(EVP_sha256(), certificate,
                                                                 nullptr, 1);
    if (!ess)
        return false;
    unsigned char *der = nullptr;
    const int length = i2d_ESS_SIGNING_CERT_V2(ess, &der);
    ESS_SIGNING_CERT_V2_free(ess);
    if (length <= 0)
        return false;
    ASN1_STRING *sequence = ASN1_STRING_new();
    const bool ok = sequence && ASN1_STRING_set(sequence, der, length)
                    && CMS_signed_add1_attr_by_NID(signerInfo, NID_id_smime_aa_signingCertificateV2,
                                                   V_ASN1_SEQUENCE, sequence, -1);
    ASN1_STRING_free(sequence);
    OPENSSL_free(der);
    return ok;
}

} // namespace

QByteArray signDetachedCms(const SigningIdentity &identity, const QByteArray &content)
{
    if (!identity.isValid())
        return {};
    constexpr unsigned int kFlags = CMS_PARTIAL | CMS_DETACHED | CMS_BINARY;
    std::unique_ptr<CMS_ContentInfo, CmsFree> cms(
        CMS_sign(nullptr, nullptr, identity.chain(), nullptr, kFlags));
    if (!cms)
        return {};
    CMS_SignerInfo *signerInfo = CMS_add1_signer(cms.get(), identity.certificate(), identity.key(),
                                                 EVP_sha256(), kFlags);
    if (!signerInfo || !addSigningCertificateV2(signerInfo, identity.certificate()))
        return {};
    std::unique_ptr<BIO, BioFree> input(BIO_new_mem_buf(content.constData(), content.size()));
    if (!input || CMS_final(cms.get(), input.get(), nullptr, kFlags) != 1)
        return {};
    unsigned char *der = nullptr;
    const int length = i2d_CMS_ContentInfo(cms.get(), &der);
    if (length <= 0)
        return {};
    QByteArray result(reinterpret_cast<const char *>(der), length);
    OPENSSL_free(der);
    ERR_clear_error();
    return result;
}
