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

// The query path with the software code.
QByteArray Version_Request_Target();

// The new-version check on the event loop: one HTTP/1.0 GET with the time-out
// of the server entry, never blocking the window. Any failure (no connection,
// an error status, a time-out, an answer too long) counts as an empty reply:
// no newer version.
class Version_Check : public QObject
{
    Q_OBJECT

public:
    explicit Version_Check(QObject *parent = nullptr);

    void Start(const Version_Server &server = Default_Version_Server());
    bool Running() const;

signals:
    // `reply` is the body of the answer, empty after any failure.
    void Finished(bool newer, const QString &reply);

private:
    void On_Response(const Http_Response &response);

    Http_Get *http_;
};

// The check in a local event loop (for the command line and tests).
bool Check_Version(const Version_Server &server = Default_Version_Server(), QString *reply = nullptr);
