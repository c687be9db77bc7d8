#pragma once

#include <QDialog>

class QLabel;
struct Workspace;

// The program's identity and a link to the maker's web page.
class TFAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFAbout(Workspace &ws, QWidget *parent = nullptr);

    QLabel *Label2;
    QLabel *Label9;
    QLabel *Label10;
    QLabel *Label12;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *image2_ = nullptr;
    Workspace &ws_;
};
