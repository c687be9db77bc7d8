#pragma once

class Message_Table;
struct Workspace;

// Rebuilds the English table, then applies the file of Language_Name from the
// LANGUAGE folder; when that file is missing, Language_Name becomes "English"
// and "English.lng" is applied if present.
void Load_Language(Workspace &ws, Message_Table &table);
