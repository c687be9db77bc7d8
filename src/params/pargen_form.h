#pragma once

#include "params/pargen_values.h"

#include <QString>
#include <QStringList>
#include <array>

// The state of the parameter window without the window: the chosen item of
// each drop-down (or none), the text of each edit and the state of each check
// box, one control per key. The window binds its controls to this form and
// takes from it every decision: the data-rate list that follows the band, the
// payload shown, which rows and groups are visible, what OK writes.
class ParGen_Form
{
public:
    // Nothing chosen, every edit empty, every box off.
    ParGen_Form();

    // Opening: puts each value into its control, in document order. Choices
    // stored as text are matched as whole texts, letter case ignored, and
    // none is chosen when nothing matches; the data-rate list is rebuilt
    // right after the band, and its first item is chosen when the stored data
    // rate matches none; flags are on for exactly "1"; index choices take the
    // integer reading with the key's default (also for a number outside the
    // list); the payload is recomputed from band and data rate at the end.
    void Load(const ParGen_Values &values);

    // What OK writes: the chosen item's text (empty when none), "1"/"0", the
    // chosen index in decimal, the edit texts unchanged (hidden ones too).
    ParGen_Values Values() const;

    // Undo keeps the state before and after each change as a snapshot: the
    // values that OK would write. Restore puts one back through the opening
    // (Load), so that the data-rate list follows the band and the payload is
    // recomputed as on opening. Every state that opening and the window's
    // controls can reach comes back exactly; the one state they cannot
    // reach, a band with no data rate chosen, comes back with the band's
    // first data rate, as on opening.
    ParGen_Values Snapshot() const { return Values(); }
    void Restore(const ParGen_Values &snapshot) { Load(snapshot); }

    // Drop-downs. The data rate's items are the chosen band's list.
    QStringList Items(ParGen_Key key) const;
    int Chosen(ParGen_Key key) const;          // -1 when none
    QString Chosen_Text(ParGen_Key key) const; // empty when none
    // The user picks item `index` (-1, or anything outside the list, for
    // none). A new band rebuilds the data-rate list with its first item and
    // recomputes the payload; a new data rate recomputes the payload.
    void Choose(ParGen_Key key, int index);

    // Check boxes.
    bool Checked(ParGen_Key key) const;
    void Set_Checked(ParGen_Key key, bool on);

    // Edits, the payload field included.
    QString Text(ParGen_Key key) const;
    void Set_Text(ParGen_Key key, const QString &text);

    // Rebuilds the data-rate list for the chosen band and chooses its first
    // item (none for no band).
    void Change_LoRa_DataRate();
    // Puts the maximum payload of the chosen band and data rate into the
    // payload field.
    void Set_Max_Payload_Size();

    // Layout: the four ABP key rows with ABP chosen, else the application key
    // row; the BACnet/IP rows with BACnet/IP chosen, else (MS/TP, or no type)
    // the MS/TP rows and the Ethernet group.
    bool ABP_Rows_Shown() const { return Chosen(ParGen_Key::LoRa_Activation_Method) == 0; }
    bool BACnet_IP_Rows_Shown() const { return Chosen(ParGen_Key::BACnet_Type) == 0; }
    bool Ethernet_Group_Shown() const { return !BACnet_IP_Rows_Shown(); }
    // Whether the window shows the input of `key` with the choices made now:
    // the keys of the other activation method and of the other BACnet link
    // are hidden, the Ethernet group with BACnet/IP, and the TCP and UDP
    // ports always. A hidden value is still checked (the Ethernet group and
    // the ports) and saved, so OK must offer a way out when one fails.
    bool Shown(ParGen_Key key) const;

private:
    std::array<int, ParGen_Key_Count> chosen_;
    std::array<bool, ParGen_Key_Count> checked_;
    std::array<QString, ParGen_Key_Count> text_;
    QStringList datarate_items_;
};

// The key filter of the five hexadecimal edits: digits and the letters A-F
// pass (a-f entered as upper case), and so does every character whose code
// is 32 or lower (Backspace, the other control keys, the blank); any other
// key is dropped. Returns false to drop, else sets `entered`.
bool Hex_Key_Filter(QChar typed, QChar *entered);
