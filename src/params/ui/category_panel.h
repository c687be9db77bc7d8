#pragma once

#include <QScrollArea>
#include <QWidget>

class Panel_Header;

// A group of controls under a header that shows its title and whether it is
// expanded; clicking the header collapses or expands it. Controls are placed
// on Client() in client coordinates, below the header.
class Category_Panel : public QWidget
{
    Q_OBJECT

public:
    explicit Category_Panel(QWidget *parent = nullptr);

    QWidget *Client() const { return client_; }
    QWidget *Header() const;

    void Set_Caption(const QString &caption);
    QString Caption() const;

    static int Header_Height() { return 24; }
    // The height of the client area while expanded; the panel is then
    // Header_Height() taller.
    void Set_Client_Height(int height);
    int Expanded_Height() const { return Header_Height() + client_height_; }

    bool Collapsed() const { return collapsed_; }
    void Set_Collapsed(bool collapsed);

signals:
    // The panel's height changed (collapsed, expanded or re-laid out).
    void Height_Changed();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Apply_Height();

    Panel_Header *header_;
    QWidget *client_;
    int client_height_ = 0;
    bool collapsed_ = false;
};

// The scrolling area that stacks its panels top to bottom, in the order they
// were added, leaving out the hidden ones; the stack follows every change of
// a panel's height or visibility.
class Category_Panel_Group : public QScrollArea
{
    Q_OBJECT

public:
    explicit Category_Panel_Group(QWidget *parent = nullptr);

    Category_Panel *Add_Panel();
    const QList<Category_Panel *> &Panels() const { return panels_; }
    void Restack();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *stack_;
    QList<Category_Panel *> panels_;
};
