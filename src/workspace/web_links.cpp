#include "workspace/web_links.h"

#include <QtGlobal>

QString Maker_Host()
{
    const QString host = qEnvironmentVariable("SW52K31_WEB_HOST");
    return host.isEmpty() ? QStringLiteral("www.tavelin.com") : host;
}

QString Maker_Home_Url()
{
    return QStringLiteral("http://%1/HOME/default.asp?frompg=SW52K31").arg(Maker_Host());
}

QString Download_Url()
{
    return QStringLiteral("http://%1/Home/download/download.asp#HD52K31").arg(Maker_Host());
}

QString Maker_Web_Address()
{
    return Maker_Host();
}
