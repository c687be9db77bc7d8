#pragma once

#include "app/windows.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
struct Workspace;

// The software options: language, internet access and new-version check,
// and two behaviours of the table windows.
class TFSoftOptions : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    TFSoftOptions(Workspace &ws, std::function<void()> change_language, QWidget *parent = nullptr);

    void Set_Lang() override;
    void Set_Version_Checker(Version_Checker checker) { version_checker_ = std::move(checker); }

    void Create_Lang_List();
    void Update_Lang_Page(int num_page);
    void LangClick(int slot);
    void Update_CheckBox();

    QStringList SL_Languages;
    int Show_Page = 1;
    QString Language_In_Use;

    QTabWidget *PC_Options;
    QLabel *L_Sel_Lang;
    QList<QLabel *> I_L; // flag pictures of slots 1 to 6
    QList<QLabel *> L_L; // names of slots 1 to 6
    QLabel *L_Page_Lang;
    QPushButton *Btn_Prev;
    QPushButton *Btn_Next;
    QCheckBox *CB_En_Con;
    QCheckBox *CB_Update;
    QPushButton *Btn_Check_Update;
    QLabel *LL_Check_Update;
    QCheckBox *CB_Soft_Set_Jump_Table;
    QCheckBox *CB_DoubleClick_Auto_Size;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int Update_Lang_Page_Count() const;
    void Btn_Check_UpdateClick();
    void Btn_OKClick();

    Workspace &ws_;
    std::function<void()> change_language_;
    Version_Checker version_checker_;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
};
