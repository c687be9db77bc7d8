// The maker's server's answer to the new-version query: the HTTP/1.0 answer
// is split into status and body, and the body ("VER. 1.002") is compared with
// the tool's own version. Whatever the server sends, the check ends with
// newer, not newer or not reached; newer needs a version number above the
// tool's own.

#include "core/version.h"
#include "fuzz_support.h"
#include "platform/http_get.h"
#include "workspace/version_check.h"

namespace {

// The trimming of the reply: characters with codes up to 32 at both ends.
QString Trim_Controls(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray raw = fuzz::Bytes(data, size);
    const Http_Response response = Parse_Http_Response(raw);
    if (response.Ok) {
        FUZZ_CHECK(response.status >= 200 && response.status <= 299, "ok with status %d", response.status);
        FUZZ_CHECK(raw.endsWith(response.body), "the body is not the end of the answer");
    } else {
        FUZZ_CHECK(response.body.isEmpty() && !response.error.isEmpty(), "a failed answer keeps a body or no reason");
    }

    // The version check takes the body of a good answer, else an empty reply.
    const QString reply = response.Ok ? QString::fromUtf8(response.body) : QString();
    const bool newer = Newer_Version_In_Reply(reply);
    if (newer)
        FUZZ_CHECK(Conv_Version(Trim_Controls(reply)) > Conv_Version(QLatin1StringView(Program_Version)),
                   "\"%s\" counts as newer", qPrintable(reply));

    // The three-way answer agrees: newer exactly as above, "not newer" only
    // on a reply of the server's form, and every "not reached" says why.
    const Version_Result result = Version_Result_Of(response, QStringLiteral("server"));
    FUZZ_CHECK((result.answer == Version_Answer::Newer) == (response.Ok && newer), "newer disagrees for \"%s\"",
               qPrintable(reply));
    if (result.answer == Version_Answer::Not_Newer)
        FUZZ_CHECK(response.Ok && Is_Version_Reply(reply), "\"%s\" counts as not newer", qPrintable(reply));
    FUZZ_CHECK((result.answer == Version_Answer::Not_Reached) == !result.Problem.isEmpty(),
               "a problem without \"not reached\", or the reverse");

    // The reply text alone, as a body (most answers are short).
    const QString text = QString::fromUtf8(raw);
    if (Newer_Version_In_Reply(text))
        FUZZ_CHECK(Conv_Version(Trim_Controls(text)) > 1000, "\"%s\" counts as newer", qPrintable(text));
    return 0;
}
