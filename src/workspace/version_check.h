#pragma once

#include <QObject>
#include <QString>

class Http_Get;
struct Http_Response;

// The maker's web server that names the newest version of the tool.
struct Version_Server
{
    QString host = QStringLiteral("www.tavelin.com");
    quint16 port = 80;
    int timeout_ms = 10000;
};

// The maker's server as configured (SW52K31_WEB_HOST, host or host:port).
Version_Server Default_Version_Server();

// The software code the query sends (the version compared is Program_Version).
inline constexpr const char *Version_Query_Code = "SW52K31";

// The version number in a version text: of the text after its first blank
// (trimmed), the 1st, 3rd, 4th and 5th characters read as an integer, so
// "VER. 1.002" gives 1002. -1 when that text is shorter than five characters
// or those characters are not a number.
int Conv_Version(const QString &ver_str);

// Whether the server's reply names a newer version than the tool's own. An
// empty reply or "VER. 0.000" (in any case) says no.
bool Newer_Version_In_Reply(const QString &reply);

// Whether the reply has the form the server gives: "VER." (in any case), a
// blank and a version that Conv_Version reads, such as "VER. 1.002" or
// "VER. 0.000" (no version to offer). Blanks and line ends around it are
// ignored.
bool Is_Version_Reply(const QString &reply);

// The query path with the software code.
QByteArray Version_Request_Target();

// What the new-version check found out. "Not newer" needs the server's own
// word; anything else that keeps that word from us is "not reached".
enum class Version_Answer {
    Newer,       // the reply names a newer version (Newer_Version_In_Reply)
    Not_Newer,   // a reply of the server's form that names none newer, "VER. 0.000" included
    Not_Reached, // no such reply: no connection, a time-out, a redirect, an error status, another text
};

struct Version_Result
{
    Version_Answer answer = Version_Answer::Not_Reached;
    QString reply;   // the body of an answer with a 2xx status, else empty
    QString Problem; // for Not_Reached: Msg_Version_Not_Reached, naming the server and why
};

// The answer that an HTTP response of `server_name` (host, or host:port)
// gives.
Version_Result Version_Result_Of(const Http_Response &response, const QString &server_name);

// The new-version check on the event loop: one HTTP/1.0 GET with the time-out
// of the server entry, never blocking the window.
class Version_Check : public QObject
{
    Q_OBJECT

public:
    explicit Version_Check(QObject *parent = nullptr);

    void Start(const Version_Server &server = Default_Version_Server());
    bool Running() const;

signals:
    void Finished(const Version_Result &result);

private:
    void On_Response(const Http_Response &response);

    Http_Get *http_;
    QString server_name_;
};

// The check in a local event loop (for the command line and tests).
Version_Result Check_Version(const Version_Server &server = Default_Version_Server());
