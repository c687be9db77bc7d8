#pragma once

#include "update/ip_address.h"

#include <QObject>
#include <array>

class QContextMenuEvent;
class QLineEdit;

// The behaviour of the four octet boxes of a converter's address, which the
// window places and owns:
// - "." moves on to the next box and selects its text, so that an address
//   typed over the one shown replaces it box by box; no box ever takes a "."
//   (in the fourth the key is swallowed and the focus stays);
// - a dotted address pasted (Ctrl+V, Shift+Insert, the context menu) or
//   dropped into any box fills all four (Pasted_Address); any other text is
//   pasted into that one box as usual;
// - the four are made read-only together, for as long as an update runs.
class Address_Boxes : public QObject
{
    Q_OBJECT

public:
    Address_Boxes(const std::array<QLineEdit *, 4> &boxes, QObject *parent);

    IP_Octets Octets() const;
    void Set_Octets(const IP_Octets &octets);

    void Set_Read_Only(bool read_only);
    bool Read_Only() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int Index_Of(const QObject *watched) const;
    bool Fill_From(const QString &text);
    void Paste_Into(QLineEdit *box);
    void Show_Menu(QLineEdit *box, const QContextMenuEvent *event);

    std::array<QLineEdit *, 4> boxes_;
};
