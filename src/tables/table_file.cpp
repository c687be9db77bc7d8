#include "tables/table_file.h"

Table_File::Table_File()
    : doc_(std::make_shared<Xml_Document>())
{}

Table_File::Table_File(const QString &path)
    : doc_(std::make_shared<Xml_Document>())
    , path_(path)
{
    doc_->Load(path);
}
