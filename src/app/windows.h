#pragma once

#include "widgets/lang_window.h"
#include "workspace/version_check.h"

#include <functional>

class QDialog;
class QObject;
class TFQuarneleFirmWare;
class TFNew_Project;
class TFOpenConf;
class TFAbout;
class TFBoot;
class TFVirtual_Converter;

// Asks the maker's server whether a newer version exists, without blocking;
// calls back (on the event loop, while `context` lives) with the answer.
using Version_Checker = std::function<void(QObject *context, std::function<void(const Version_Result &result)> done)>;

// Every window of the configurator, created once at start-up in this order
// and alive until the program ends. Steps show them modally.
struct Windows
{
    TFQuarneleFirmWare *FQuarneleFirmWare = nullptr;
    TFNew_Project *FNew_Project = nullptr;
    TFOpenConf *FOpenConf = nullptr;
    TFAbout *FAbout = nullptr;
    QDialog *FSoftOptions = nullptr;
    QDialog *FParGen = nullptr;
    TFBoot *FBoot = nullptr;
    QDialog *FLoRa_Set_Access = nullptr;
    QDialog *FBACnet_Eng_Unit = nullptr;
    QDialog *FBACnetSlaveSetAccess = nullptr;
    // Not modal: it serves beside the steps.
    TFVirtual_Converter *FVirtual_Converter = nullptr;
};
