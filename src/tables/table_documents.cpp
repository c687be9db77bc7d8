#include "tables/object_document.h"
#include "tables/rule_document.h"

Rule_Document Read_Rule_Document(const QString &path)
{
    return Rule_Document(path);
}

Object_Document Read_Object_Document(const QString &path)
{
    return Object_Document(path);
}
