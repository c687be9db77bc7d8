#pragma once

#include <QString>

// The maker's web server. Its host is configurable: the environment variable
// SW52K31_WEB_HOST (host or host:port) replaces the default.
QString Maker_Host();
// The maker's home page, opened from the main window and the about dialog.
QString Maker_Home_Url();
// The download page the new-version links point to.
QString Download_Url();
// The address shown as text in the main window and the about dialog.
QString Maker_Web_Address();
