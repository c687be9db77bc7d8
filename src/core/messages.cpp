#include "core/messages.h"

#include "core/default_messages.h"
#include "core/int_read.h"
#include "core/text.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

// Texts this program added to the free numbers of the shared range.
const Default_Message Added_Messages[] = {
    {Msg_File_Damaged, u"Error! The file %1 is damaged (line %2, column %3): %4"},
    {Msg_File_Not_Written, u"Error! The file %1 could not be written: %2"},
    {Msg_File_Is_Folder, u"a folder of that name is in the way"},
    {Msg_Files_Partly_Replaced,
     u"Error! The files were only partly replaced: %1 could not be put in place (%2). Already replaced: %3. "
     u"Left as they were: %4."},
    {Msg_EDE_Cell_Breaks_Columns,
     u"Error row %1!! [%2] The %3 holds a \";\" or a line break, which would shift the columns of the EDE "
     u"file. The EDE file was not written."},
    {Msg_EDE_Group_Missing, u"Error! The file %1 has no group %2. The EDE file was not written."},
    {Msg_EDE_Key_Breaks_Columns,
     u"Error! The value of %1 in the file %2 holds a \";\" or a line break, which would shift the columns of "
     u"the EDE file. The EDE file was not written."},
    {Msg_EDE_Name_Breaks_Columns,
     u"Error! The configuration name %1 holds a \";\" or a line break, which would shift the columns of the "
     u"EDE file. The EDE file was not written."},
    {Msg_Discard_Changes, u"The changes have not been saved. Close the window and discard them?"},
    {Msg_Delete_Rows, u"Are you sure to delete the %1 selected rows?"},
    {Msg_Rows_Pushed_Out, u"Inserting %1 rows pushes the last rows of the table past its end, and %2 of them are in "
                          u"use (the first is row %3): they will be lost. Insert the rows all the same?"},
    {Msg_Rows_Do_Not_Fit, u"Error!!! The %1 copied rows do not fit: from row %2 down the table has only %3 rows. "
                          u"Nothing was pasted."},
    {Msg_Rows_Not_Shown, u"Warning!! %1 rows of the table \"%2\" could not be shown: the table holds %3 rows. "
                         u"They are lost if the table is saved."},
    {Msg_Table_Damaged, u"%1\nThe tables start empty: saving them replaces this file."},
    {Msg_Table_Unreadable, u"%1\nThe tables start empty, and this file cannot be saved over while it cannot be "
                           u"read."},
    {Msg_Document_Not_Replaced, u"Error! The file %1 could not be read, so it is not saved over: %2"},
    {Msg_Rows_Not_Saved, u"Warning!! Row %1 of the table \"%2\" has an empty \"%3\": it ends the table, and the %4 "
                         u"rows from there on are lost if the table is saved."},
    {Msg_Paste_Too_Many_Rows,
     u"Error!! The pasted block has %1 rows, but from row %2 to the end the table has only %3. Nothing was pasted."},
    {Msg_Paste_Too_Many_Columns, u"Error!! The pasted block has %1 columns, but from the column \"%2\" to the last "
                                 u"the table has only %3. Nothing was pasted."},
    {Msg_Paste_Cell_Refused, u"Error row %1!! The column \"%2\" cannot take \"%3\": %4. Nothing was pasted."},
    {Msg_Paste_Not_An_Item, u"it is none of the items of the list (%1)"},
    {Msg_Paste_Not_A_Flag, u"a check box takes Y or N, 1 or 0, true or false, yes or no"},
    {Msg_Paste_Not_A_Unit, u"it is neither a unit number from 0 to 65535 nor the name of a unit"},
    {Msg_Paste_Unit_Disagrees, u"the unit number %1 is \"%2\", not \"%3\""},
    {Msg_Paste_Control_Character,
     u"it holds a control character (such as a tab or a line break), which no cell can hold"},
    {Msg_Points_Table_Column, u"Table"},
    {Msg_Points_Unit_Name_Column, u"Unit Name"},
    {Msg_Points_Export, u"&Export\u2026"},
    {Msg_Points_Import, u"I&mport\u2026"},
    {Msg_Points_Export_Hint, u"Write the rows of both tables to a CSV file, for a spreadsheet"},
    {Msg_Points_Import_Hint, u"Read the rows of both tables from a CSV file, such as a spreadsheet saves"},
    {Msg_Points_Replace_Or_Append, u"Import the rows of %1: replace the rows of both tables with them, or append "
                                   u"them after the last row of each table?"},
    {Msg_Points_Replace, u"Replace"},
    {Msg_Points_Append, u"Append"},
    {Msg_Points_Not_Imported, u"Error!! Nothing was imported from %1:"},
    {Msg_Points_Bad_Line, u"Line %1, column %2: %3"},
    {Msg_Points_Not_Utf8, u"Line %1: the byte %2 is not UTF-8, although the file holds UTF-8 text elsewhere; "
                          u"save the file again as UTF-8"},
    {Msg_Points_Not_A_Table, u"\"%1\" is no table of this list: the first column takes %2 or %3"},
    {Msg_Points_No_Room, u"the table %1 has room for %2 more rows, and the %3 rows from this line on do not fit"},
    {Msg_Points_Unknown_Column, u"no column is called so; the columns are %1"},
    {Msg_Points_Column_Twice, u"the column is named twice"},
    {Msg_Points_Column_Missing, u"the header line has no such column"},
    {Msg_Points_Too_Many_Fields, u"the line has %1 fields, but the header line names only %2 columns"},
    {Msg_Points_Not_In_Table, u"the table %1 has no such column"},
    {Msg_Points_Key_Empty, u"it is empty, and a row without it would end the table"},
    {Msg_Xml_Not_Utf8, u"the byte 0x%1 is not UTF-8, and the file declares no other encoding (save the file as "
                       u"UTF-8, or declare its encoding in its first line)"},
    {Msg_Xml_Invalid_Byte, u"the byte 0x%1 is not valid in the file's encoding, %2"},
    {Msg_Xml_Unknown_Encoding, u"the file declares the encoding \"%1\", which is not known"},
    {Msg_Xml_Encoding_Not_Used,
     u"the file declares the encoding %1 but is not written in it (a UTF-16 or UTF-32 file begins with its "
     u"byte-order mark)"},
    {Msg_Xml_Null_Character, u"the file holds a null character, which no XML document may hold (a UTF-16 file "
                             u"begins with its byte-order mark)"},
    {Msg_Xml_Attribute_Twice, u"the element %1 gives the attribute %2 twice"},
    {Msg_Xml_Entity, u"the entity reference %1: a document of this program holds no entities"},
    {Msg_File_Not_Regular, u"it is not a regular file (a folder, a pipe or a device is in its place)"},
    {Msg_File_Too_Large, u"it holds %1 bytes, more than the %2 that such a file can hold"},
    {Msg_Table_Group_Missing,
     u"Error! The file %1 has no group %2 (a group's name is spelt exactly, letter case included)."},
    {Msg_Table_Group_Starts_Empty, u"%1\nThe table \"%2\" starts empty: saving the tables replaces this file."},
    {Msg_Program_Not_Started, u"Error! The program %1 could not be started: %2"},
    {Msg_Ping_Not_Allowed, u"Error! The device cannot be pinged: this system allows neither an ICMP datagram socket "
                           u"for this user (net.ipv4.ping_group_range) nor a raw socket (CAP_NET_RAW). %1"},
    {Msg_Updater_Stopped, u"Error! The updater %1 was still running after %2 s and was stopped. The converter may "
                          u"not have received the whole update: run the update again."},
    {Msg_Update_Option_Invalid, u"Error! The update option %1 is not valid: use 0, 1 or 2"},
    {Msg_Updater_Running, u"The updater is running... %1 s"},
    {Msg_Updater_Failed, u"Error! The updater %1 ended with code %2"},
    {Msg_Ping_Unreachable,
     u"Error! The address %1 cannot be reached: %2 answered that the destination is unreachable (%3, ICMP code %4). "
     u"Check the address, and the routers and firewalls between this computer and the device."},
    {Msg_Unreachable_Network, u"network unreachable"},
    {Msg_Unreachable_Host, u"host unreachable"},
    {Msg_Unreachable_Refused, u"refused by a filter"},
    {Msg_Version_Not_Reached, u"Could not reach the update server %1: %2"},
    {Msg_Version_Bad_Answer, u"its answer \"%1\" is not of the form \"VER. d.ddd\""},
    {Msg_Caption_Firmware_And_Configuration, u"&Update Firmware and Configuration"},
    {Msg_Caption_Firmware, u"&Update Firmware"},
    {Msg_Caption_Configuration, u"&Update Configuration"},
    {Msg_Images_Configuration, u"Configuration: %1"},
    {Msg_Image_Bytes, u"%1 bytes"},
    {Msg_Image_Crc, u"CRC-32 %1"},
    {Msg_No_Images, u"Error! There are no images to send: the configuration was not compiled."},
    {Msg_Update_Done, u"The update is done."},
    {Msg_Updater_Crashed, u"Error! The updater %1 crashed."},
    {Msg_Updater_Log_Tail, u"The last lines of its output (%1):"},
    {Msg_Updater_Log_Empty, u"It wrote no output (%1)."},
    {Msg_Firmware_Missing, u"Error! The firmware file %1 does not exist, and the option \"%2\" loads it into the "
                           u"converter. Nothing was started."},
    {Msg_Update_Already_Running, u"Error! An update is already running: wait until it has ended."},
    {Msg_Update_Context, u"Configuration \"%1\", converter %2, option \"%3\"."},
    {Msg_Compile_Not_A_Number,
     u"Error! [%1] row %2: %3 \"%4\" is not an integer. The compilation stopped and no image was written."},
    {Msg_Compile_Text_Too_Long,
     u"Error! %1 holds %2 characters, but its field in the device takes at most %3. The compilation stopped and "
     u"no image was written."},
    {Msg_Compile_Too_Many_Rules,
     u"Error! [%1] holds more than %2 enabled rules, the most the device takes. The compilation stopped and no "
     u"image was written."},
    {Msg_Compile_Too_Many_Objects,
     u"Error! [%1] and [%2] hold %3 BACnet objects, but with this description length the device takes at most %4. "
     u"The compilation stopped and no image was written."},
    {Msg_Compile_Text_Area_Full,
     u"Error! [%1] row %2: the object descriptions exceed the %3 bytes the device keeps for them. The compilation "
     u"stopped and no image was written."},
    {Msg_Bank_Pair_Broken,
     u"%1\nThe image %2 was already replaced, so the two images no longer belong together: do not update the "
     u"device before a compilation succeeds."},
    {Msg_Not_A_Bank_Image, u"Error! %1 holds %2 bytes: a bank1.bin holds 2048 and a bank2.bin 75776."},
    {Msg_File_Not_Read, u"Error! The file %1 could not be read: %2"},
    {Msg_Text_Cut,
     u"The converter keeps only the first %1 characters of this name: \"%2\"; the marked rest is dropped."},
    {Msg_Payload_Mismatch,
     u"Error LoRa!! %1 in the file %2 holds \"%3\", but the band %4 with the data rate \"%5\" gives %6. Open the "
     u"communication parameters and press OK: the window stores the right value."},
    {Msg_Payload_Missing,
     u"Error LoRa!! The file %1 holds no %2, but the band %3 with the data rate \"%4\" gives %5. Open the "
     u"communication parameters and press OK: the window stores the right value."},
    {Msg_Hidden_Value_Reset,
     u"%1. The value of %3 (\"%2\", file %4) is not shown in this window. Reset %3 to its default \"%5\"?"},
    {Msg_Objects_Overlap, u"Warning! [%1] row %2: its data overlaps that of row %3 (byte %4)"},
    {Msg_Rules_Overlap, u"Warning! [%1] rule %2: its bytes overlap those of rule %3 (byte %4)"},
    {Msg_Problems_Count, u"Errors: %1    Warnings: %2"},
    {Msg_No_Problems, u"No errors, no warnings"},
    {Msg_Next_Problem, u"&Next"},
    {Msg_Next_Problem_Hint, u"Go to the next error or warning (F8)"},
    {Msg_Errors_Count, u"Errors: %1"},
    {Msg_Object_Length_Not_Integer, u"!! [%1] Length with variable \"%2\" must be an integer"},
    // Msg_Object_Type_Not_Offered of tables/table_messages.h: table, data type.
    {1561, u"!! [%1] Data Type \"%2\" is not one of the types of this table: choose one from its list"},
    {Msg_Rows_Would_Be_Lost,
     u"Error!! Row %1 of the table \"%2\" has an empty \"%3\": it ends the table, and %4 rows from there on hold "
     u"text that saving would lose. Fill in \"%3\" or delete those rows. Nothing was saved."},
    {Msg_Object_Name_Shared, u"The object name \"%1\" is shared by the rows %2"},
    {Msg_Object_Name_Empty, u"These rows have no object name (their Mnemonic is empty): %1"},
    {Msg_Object_Names_Heading,
     u"Warning!! A BACnet device must serve every object under a name of its own, the Mnemonic cut to %1 "
     u"characters:"},
    {Msg_Object_Names_More, u"... and %1 more."},
    {Msg_Object_Names_Save_Anyway, u"Save anyway?"},
    {Msg_Check_Row_Line, u"%1 [%2] row %3: %4"},
    {Msg_Check_Document_Line, u"%1: %2"},
    {Msg_Check_Warning_Line, u"Warning: %1: %2"},
    {Msg_Name_Differs_In_Case,
     u"Error! Name project is not valid because the configuration \"%1\" already exists: names that differ only "
     u"in letter case are taken for each other."},
    {Msg_Name_Breaks_Lists,
     u"Error! Name project is not valid: a name cannot hold \";\", a line break or another control character, "
     u"which would break the EDE file and the list of configurations."},
    {Msg_Configuration_Folder_Gone,
     u"The folder %1 of the configuration no longer exists: it was moved, renamed or deleted outside the program. "
     u"Nothing was written; open or create a configuration."},
    // Msg_EDE_Cell_Runs_As_Formula of ede/ede_messages.h: row, table, attribute.
    {1194,
     u"Error row %1!! [%2] The %3 starts with \"=\", \"+\", \"-\", \"@\", a tab or a carriage return, which a "
     u"spreadsheet runs as a formula when it opens the EDE file. Change its first character. The EDE file was not "
     u"written."},
    {Msg_EDE_Cell_Starts_Quoted,
     u"Error row %1!! [%2] The %3 starts with a double quote, which a spreadsheet reads as a quoted field, "
     u"shifting the columns of the EDE file. The EDE file was not written."},
    {Msg_Dump_Checksum,
     u"Error! The checksum at 0x7FC is %1, but bytes 0 to 2043 add up to %2: the image was changed after it was "
     u"compiled."},
    {Msg_Dump_Fixed_Field, u"Error! %1 is %2, but the compiler always writes %3."},
    {Msg_Dump_Out_Of_Range, u"Error! %1 is %2, but it must lie between %3 and %4."},
    {Msg_Dump_Stray_Bytes, u"Error! %1 bytes that the layout keeps at zero are not zero, the first at offset %2."},
    {Msg_Dump_No_Geometry,
     u"Error! The first object record's description address %1 fits neither layout of the object section (text "
     u"area at %2 or %3): no object could be decoded."},
    {Msg_Dump_Description_Lost,
     u"Error! Object record %1 has the description address %2, which is not where its description can lie: the "
     u"descriptions follow one another in the text area in record order."},
    {Msg_Map_Overrun, u"Error! [%1] row %2: its bytes %3 to %4 run past the end of its area of %5 bytes"},
    {Msg_Map_Not_Carried, u"[%1] row %2 (bytes %3): no rule carries bytes %4"},
    {Msg_Map_No_Object, u"[%1] rule %2 (bytes %3): no object of either area uses bytes %4"},
    {Msg_Map_Pairing_Note,
     u"The rules carry bytes of the converter's data area without naming the input or the output area; the "
     u"two lists below lay every rule over both areas on one byte scale. This pairing is an aid, not a check."},
    {Msg_Map_Picture, u"%1: bytes 0 to %2, %3 a row"},
    {Msg_Map_Legend,
     u"One character a byte: . free, a letter or digit for the row holding it (A to Z, a to z, 0 to 9, then "
     u"again), + bits of several binary objects, # overlap."},
    {Msg_Map_Nothing_Listed, u"No overlaps, no bytes past the end of an area, no gaps between objects and rules."},
    {Msg_Map_Button, u"Data M&ap"},
    {Msg_Map_Button_Hint,
     u"Show how the objects and the rules lie over the converter's data areas, with their overlaps and gaps, as "
     u"the tables are now"},
    {Msg_Map_Row_Name, u"[%1] row %2"},
    {Msg_Map_Rule_Name, u"[%1] rule %2"},
    {Msg_Map_Bit_Name, u"[%1] row %2, bit %3"},
    {Msg_Map_Byte_Name, u"Byte %1"},
    {Msg_Diff_Not_An_Image, u"Error! %1 holds %2 bytes, not the %3 of its bank: its fields cannot be read."},
    {Msg_Diff_Row_Inserted, u"%1: inserted (%2)"},
    {Msg_Diff_Row_Deleted, u"%1: deleted (%2)"},
    {Msg_Diff_Row_Was, u"%1 (was row %2)"},
    {Msg_Diff_Empty, u"(empty)"},
    {Msg_Diff_On, u"on"},
    {Msg_Diff_Off, u"off"},
    {Msg_Diff_Not_Compiled, u"%1: no images: %2"},
    {Msg_Diff_Not_Read, u"%1: %2"},
    {Msg_Diff_No_Side,
     u"Error! %1 is neither a configuration nor a folder holding bank1.bin and bank2.bin (image files are given "
     u"as two pairs: A1 A2 B1 B2)."},
    {Msg_Diff_Both_Unsound, u"Both sides: %1"},
    {Msg_Changes_Button, u"C&hanges since last update"},
    {Msg_Changes_Button_Hint,
     u"Compare the images about to be sent with those that the last successful update sent to the address in the "
     u"boxes"},
    {Msg_Changes_Nothing_Kept,
     u"No earlier update of this configuration to %1 is kept (%2), so there is nothing to compare with. A copy of "
     u"the images sent is kept after each successful update."},
    {Msg_Changes_None,
     u"No changes: the images about to be sent to %1 are the same as those of the last update to it (%2)."},
    {Msg_Changes_Listed,
     u"The images about to be sent to %1 differ from those of the last update to it (%2). Differences (%3):"},
    {Msg_Sent_Not_Kept,
     u"Warning: the update succeeded, but the images sent could not be kept for \"Changes since last update\": %1"},
    {Msg_Sent_Copy_Removed,
     u"The copy of an earlier update in %1 was removed, since it no longer shows what the converter holds."},
    {Msg_Sent_Copy_Not_Removed,
     u"The copy of an earlier update in %1 could not be removed (%2) and no longer shows what the converter holds: "
     u"delete that folder before comparing again."},
    {Msg_Dump_Count_Mismatch,
     u"Error! Bank 1 counts %1 objects, but bank 2 holds %2 object records: the two images do not belong "
     u"together or one was changed after it was compiled."},
    {Msg_Dump_Not_A_Pair, u"Error! %1 and %2 are not a pair: one must be a bank1.bin and the other a bank2.bin."},
    // Named in workspace/workspace_messages.h (Msg_Configuration_Locked,
    // Msg_Document_...) and update/update_messages.h (Msg_Update_Locked,
    // Msg_Update_Interrupted).
    {1690, u"Error! The configuration %1 is being changed by %2 (process %3 on %4) and was still locked after %5 s. "
           u"Nothing was written: try again once it has ended."},
    {1691, u"Error! This workspace is already updating the converter %1 (process %2 on %3): wait until that update "
           u"has ended. Nothing was started."},
    {1692, u"Error! The update was interrupted: the updater %1 was stopped. The converter may not have received the "
           u"whole update: run the update again."},
    {1693, u"The file %1 was changed by another program or window since this window read it. Overwrite that change "
           u"with what this window shows, or reload the file (the changes made here are then lost)?"},
    {1694, u"Overwrite"},
    {1695, u"Reload"},
    // Named in bacnet/bacnet_messages.h: the virtual converter and `serve`.
    {1820, u"Serving device %1 \"%2\" on %3:%4"},
    {1821, u"The configuration is set for BACnet MS/TP: its device %1 is served here over BACnet/IP."},
    {1822, u"Error! Cannot serve on %1:%2: %3"},
    {1823, u"Error! Object record %1 of the images has no type: the object counts of bank 1 do not reach it."},
    {1824, u"Error! %1 is not an IPv4 address to serve on."},
    {1825, u"Error! %1 is not a port number (0 to 65535)."},
    {1826, u"Stopped (signal %1)."},
    {1827, u"%1 %2 -> %3"},
    {1828, u"Error! %1 is a Write object: its value comes from BACnet writes, not from the input area."},
    {1829, u"Error! %1 does not fit the bytes of %2."},
    {1830, u"Warning: %1"},
    {1831, u"Error! There is no object %1."},
    // Named in tables/table_messages.h (Msg_Cell_Refused_...).
    {1710, u"The column \"%1\" cannot take \"%2\" (type one of its items, or Escape to leave the cell as it was): "
           u"%3."},
    {1711, u"The column \"%1\" cannot take \"%2\", so the cell keeps \"%4\": %3."},
    // Named in tables/table_messages.h (Msg_Payload_Shrinks) and
    // params/param_messages.h (Msg_Gateway_Outside, Msg_Keep_Parameters).
    {1780, u"Warning! With this RF band and data rate an uplink carries at most %1 bytes of data: the payload of %2 "
           u"bytes less the %3 bytes the converter keeps for itself. The uplink rule of row %4 carries %5 bytes and no "
           u"longer fits: the update is refused until the rule or the payload changes."},
    {1781, u"Warning! The gateway %1 lies outside the network of the address %2 with the subnet mask %3 (%4): the "
           u"converter cannot reach it there."},
    {1782, u"Save the parameters all the same?"},
    // Named in bacnet/verify_messages.h: `verify` and the update window's verification.
    {1940, u"Compared with the images %1 compiles to."},
    {1941, u"Compared with the images last sent to %1 (%2): they differ from those %3 compiles to now."},
    {1942,
     u"Error! The configuration %1 uses BACnet MS/TP: its converter cannot be reached over BACnet/IP to verify it."},
    {1943, u"Error! No BACnet device answered at %1:%2 within %3 s."},
    {1944, u"Error! The BACnet device at %1:%2 stopped answering: %3"},
    {1945, u"Error! The BACnet device at %1:%2 is device %3, not device %4 of the configuration."},
    {1946, u"Error! The BACnet device at %1:%2 gave a reply that cannot be read: %3"},
    {1947, u"Error! The BACnet device at %1:%2 refused to answer: %3"},
    {1948, u"Error! Cannot open a UDP socket: %1"},
    {1949, u"The verification was cancelled."},
    {1950, u"Error! %1 is not a port number (1 to 65535)."},
    {1951, u"Error! %1 is not a time-out in milliseconds (100 to 60000)."},
    {1952, u"The command verify needs --ip A.B.C.D."},
    {1953, u"Error! The images last sent to that address are not a pair of images."},
    {1954, u"&Verify over BACnet"},
    {1955, u"Verify a&fter update"},
    {1956, u"Waiting for the converter at %1 to answer (%2 s)..."},
    {1957, u"Reading the converter: %1 of %2 objects"},
    {1958, u"The converter at %1 is the device that was configured."},
    {1959, u"The converter at %1 differs from the device that was configured:"},
    {1960, u"Verify over BACnet"},
    // Named in bacnet/converter_messages.h: the Virtual Converter window.
    {1900, u"Virtual Converter"},
    {1901, u"The configuration served as the converter serves it, on BACnet/IP from this computer"},
    {1902, u"&Start"},
    {1903, u"S&top"},
    {1904, u"&Address:"},
    {1905, u"&Port:"},
    {1906, u"Not serving."},
    {1907, u"Input area: Read objects (type a raw value in its cell)"},
    {1908, u"Output area: Write objects (what clients wrote)"},
    {1909, u"Type"},
    {1910, u"Instance"},
    {1911, u"Name"},
    {1912, u"Units"},
    {1913, u"Position / Length"},
    {1914, u"Raw value"},
    {1915, u"Present value"},
    {1916, u"Traffic"},
    {1917, u"An object's integer is its Length bytes from its Position, least significant byte first: unsigned, signed "
           u"for an integer value. A binary object is bit Start Bit of the byte at Position. Analog objects show that "
           u"integer as a REAL (a large analog value as a Double; a written value is rounded); multi-state objects 1 "
           u"to the number of states; character and octet strings their bytes."},
    {1918, u"Error! \"%1\" is not a whole number."},
    {1919, u"The configuration was saved or compiled while its device is served. Restart the served device with the "
           u"new images?"},
    {1920, u"&Close"},
    {1921, u"How bytes become values"},
    {1922, u"Type the raw value the converter would receive over LoRaWAN"},
    {1923, u"Serve the device on this address and port"},
    {1924, u"Stop serving the device"},
    {1925, u"&Virtual Converter"},
    {1926, u"Serve the open configuration on BACnet/IP from this computer, to try it with a BMS before updating the "
           u"converter"},
    {1927, u"Not served:"},
    {1928, u"Warnings"},
};

const QChar Pilcrow = QChar(0x00B6);

} // namespace

int Added_Message_Count()
{
    return int(std::size(Added_Messages));
}

Message_Table &Messages()
{
    static Message_Table table;
    return table;
}

namespace {

// The English texts, made once: every table starts from them, sharing the
// texts until a language file replaces one.
const QStringList &English_Texts()
{
    static const QStringList texts = [] {
        QStringList made;
        made.reserve(Message_Table::Count);
        for (int i = 0; i < Message_Table::Count; ++i)
            made.append(QStringLiteral(" "));
        for (const Default_Message &m : Default_Messages())
            made[m.number] = QString::fromUtf16(m.text);
        for (const Default_Message &m : Added_Messages)
            made[m.number] = QString::fromUtf16(m.text);
        return made;
    }();
    return texts;
}

} // namespace

void Message_Table::Build_Default_Messages()
{
    texts_ = English_Texts();
    messages_count_ = Message_Table::Count;
}

QString Message_Table::Get(int n) const
{
    if (n < 0 || n >= texts_.size())
        return QStringLiteral(" ");
    return texts_[n];
}

void Message_Table::Set(int n, const QString &text)
{
    if (n >= 0 && n < texts_.size())
        texts_[n] = text;
}

QString Decode_Language_File(const QByteArray &data)
{
    if (auto bom = QStringConverter::encodingForData(data)) {
        QStringDecoder decoder(*bom, QStringDecoder::Flag::Default);
        return decoder.decode(data);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("windows-1252");
    return ansi.decode(data);
}

void Apply_Language_Text(Message_Table &table, const QString &text)
{
    const QStringView all(text);
    qsizetype start = 0;
    const qsizetype n = all.size();
    while (start <= n) {
        qsizetype end = start;
        while (end < n && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        const QStringView line = Trim_Controls(all.mid(start, end - start));
        // A CR LF pair ends one line.
        start = end + ((end + 1 < n && all[end] == u'\r' && all[end + 1] == u'\n') ? 2 : 1);

        if (!line.startsWith(u"STR"))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        // The number ends at the character before "=" (the blank of the form).
        const qsizetype num_end = eq - 1;
        const QStringView num_text = num_end > 3 ? Trim_Controls(line.mid(3, num_end - 3)) : QStringView();
        const int number = Str_To_Int_Def(num_text, -1);
        if (number < 0 || number >= table.Messages_Count())
            continue;
        QStringView value = Trim_Controls(line.mid(eq + 1));
        if (value.isEmpty())
            continue;
        const qsizetype comment = value.indexOf(u"/#/");
        if (comment >= 0) {
            // Only a comment: the entry keeps the text it had.
            value = Trim_Controls(value.left(comment));
            if (value.isEmpty())
                continue;
        }
        if (value.startsWith(Pilcrow))
            value = value.mid(1);
        const qsizetype pilcrow = value.indexOf(Pilcrow);
        if (pilcrow >= 0)
            value = value.left(pilcrow);
        table.Set(number, value.toString());
    }
}

Result<> Message_Table::Read_Language_File(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(path), file.errorString()));
    Apply_Language_Text(*this, Decode_Language_File(file.readAll()));
    return {};
}
