#include "workspace/version_check.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/version.h"
#include "platform/http_get.h"
#include "workspace/web_links.h"

#include <QEventLoop>

int Conv_Version(const QString &ver_str)
{
    const qsizetype blank = ver_str.indexOf(u' ');
    const QString t = Trim_Controls(blank < 0 ? QStringView(ver_str) : QStringView(ver_str).mid(blank + 1)).toString();
    if (t.size() < 5)
        return -1;
    // The point between the major and the minor digits is skipped unchecked.
    const QString digits = t.at(0) + t.mid(2, 3);
    return Str_To_Int_Def(digits, -1);
}

bool Newer_Version_In_Reply(const QString &reply)
{
    const QString trimmed = Trim_Controls(reply).toString();
    const QString upper = trimmed.toUpper();
    if (upper.isEmpty() || upper == u"VER. 0.000")
        return false;
    const int own = Conv_Version(QLatin1StringView(Program_Version));
    const int latest = Conv_Version(trimmed);
    return own != -1 && latest != -1 && latest > own;
}

bool Is_Version_Reply(const QString &reply)
{
    const QString trimmed = Trim_Controls(reply).toString();
    return trimmed.startsWith(u"VER. ", Qt::CaseInsensitive) && Conv_Version(trimmed) >= 0;
}

QByteArray Version_Request_Target()
{
    return QByteArray("/home/download/GetversionSW.asp?nomesw=") + Version_Query_Code;
}

Version_Check::Version_Check(QObject *parent)
    : QObject(parent)
    , http_(new Http_Get(this))
{
    connect(http_, &Http_Get::Finished, this, &Version_Check::On_Response);
}

Version_Server Default_Version_Server()
{
    Version_Server server;
    const QString host = Maker_Host();
    const qsizetype colon = host.lastIndexOf(u':');
    int port = 0;
    if (colon > 0 && Try_Str_To_Int(QStringView(host).mid(colon + 1), &port) && port > 0 && port < 65536) {
        server.host = host.left(colon);
        server.port = quint16(port);
    } else {
        server.host = host;
    }
    return server;
}

void Version_Check::Start(const Version_Server &server)
{
    if (http_->Running())
        return;
    Http_Request request;
    request.host = server.host;
    request.port = server.port;
    request.target = Version_Request_Target();
    request.headers = {
        {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
        {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
    };
    request.timeout_ms = server.timeout_ms;
    server_name_ = server.port == 80 ? server.host : QStringLiteral("%1:%2").arg(server.host).arg(server.port);
    // A version reply is a dozen bytes; anything far longer is not one.
    request.max_response = 16 * 1024;
    http_->Start(request);
}

bool Version_Check::Running() const
{
    return http_->Running();
}

namespace {

// The start of a reply that is not a version, on one line, for a message.
QString Reply_Start(const QString &reply)
{
    constexpr qsizetype Shown = 40;
    const QString line = Trim_Controls(reply).toString().simplified();
    return line.size() > Shown ? line.left(Shown).trimmed() + QStringLiteral("...") : line;
}

} // namespace

Version_Result Version_Result_Of(const Http_Response &response, const QString &server_name)
{
    Version_Result result;
    QString why;
    if (!response.Ok) {
        why = response.error;
    } else {
        result.reply = QString::fromUtf8(response.body);
        if (Newer_Version_In_Reply(result.reply)) {
            result.answer = Version_Answer::Newer;
            return result;
        }
        if (Is_Version_Reply(result.reply)) {
            result.answer = Version_Answer::Not_Newer;
            return result;
        }
        // An empty page, a portal's login page, a moved script: the server
        // that would tell us was not the one that answered.
        why = Messages().Get(Msg_Version_Bad_Answer).arg(Reply_Start(result.reply));
    }
    result.Problem = Messages().Get(Msg_Version_Not_Reached).arg(server_name, why);
    return result;
}

void Version_Check::On_Response(const Http_Response &response)
{
    emit Finished(Version_Result_Of(response, server_name_));
}

Version_Result Check_Version(const Version_Server &server)
{
    Version_Check check;
    Version_Result result;
    QEventLoop loop;
    QObject::connect(&check, &Version_Check::Finished, &loop, [&](const Version_Result &got) {
        result = got;
        loop.quit();
    });
    check.Start(server);
    loop.exec();
    return result;
}
