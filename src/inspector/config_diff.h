#pragma once

#include "inspector/image_diff.h"

#include <QString>
#include <QStringList>

// The three documents of one configuration and the name that lines about
// the configuration as a whole give it.
struct Configuration_Documents
{
    QString name;
    QString file_pargen;
    QString file_lorawan;
    QString file_bacnet;
};

// What differs between two configurations, as the windows show the
// documents, then in the images they compile to, one line a difference:
//  - the parameters, field by field with the parameter window's captions
//    (ParGen_Differences);
//  - the rows of the four tables by the numbers their grids give them, cell
//    by cell with the grids' column headers (Table_Differences): the BACnet
//    objects in Read and in Write, then the uplink and the downlink rules;
//  - the images, field by field (Compare_Images), when both compile.
// A document that could not be read (each then shows its fallbacks, as its
// window would) and a configuration that does not compile give a line with
// the configuration's name and the problem. The problems of the images that
// both sides share are in Problems_Before and Problems_After.
Image_Comparison Compare_Configurations(const Configuration_Documents &before, const Configuration_Documents &after);
