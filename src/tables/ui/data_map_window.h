#pragma once

#include "tables/data_map.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QListWidget;
class QPainter;

// The picture of the data-area map: the input and the output area as rows
// of bytes, every object a coloured block over its bytes (a binary object a
// slice of its byte, by bit), overlaps in red, and the uplink and downlink
// rules as bands along the top and bottom of the same bytes. Pointing at a
// byte names everything on it; a click chooses the row of the object (or,
// without one, of the rule) on it.
class Data_Map_View : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Bytes_A_Row = 50;
    static constexpr int Cell = 12; // pixels a byte
    // Pixels left of the bytes for each row's first offset ("1450").
    static constexpr int Offset_Width = 32;

    explicit Data_Map_View(QWidget *parent = nullptr);
    void Show(const Data_Map &map);
    const Data_Map &Map() const { return map_; }

    // The byte under `point`: the area (a Page_Read or Page_Write) and the
    // offset; false outside the bytes.
    bool Byte_At(QPoint point, int &area, int &byte) const;
    // What lies on a byte of an area, one line each, rows as the grids
    // number them ("[BACnet in Read] row 3").
    QStringList Names_At(int area, int byte) const;

    QSize sizeHint() const override;

signals:
    // `rules`: a rule table's page (Page_Uplink, Page_Downlink), else an
    // object table's (Page_Read, Page_Write); the row from 0.
    void Row_Chosen(bool rules, int page, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect Byte_Rect(int area, int byte) const;
    int Rows(int area) const;
    void Draw_Picture();
    void Draw_Legend(QPainter &p, const QRect &heading) const;

    Data_Map map_;
    QImage picture_; // what lies on the bytes, drawn at a paint after Show
    bool picture_stale_ = true;
    QColor picture_base_;
};

// The window around the picture, with the map's lists beside it. It holds no
// documents: its owner gives it the map again whenever the tables change.
class Data_Map_Window : public QDialog
{
    Q_OBJECT

public:
    explicit Data_Map_Window(QWidget *parent = nullptr);
    void Show(const Data_Map &map);
    void Set_Lang();

    Data_Map_View *View;
    QListWidget *Lists;
};
