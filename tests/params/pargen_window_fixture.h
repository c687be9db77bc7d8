#pragma once

// What the parameter window suites share: a workspace with one open
// configuration, the window, and helpers to drive it.

#include "configuration_fixture.h"
#include "core/messages.h"
#include "params/pargen_document.h"
#include "params/ui/category_panel.h"
#include "params/ui/par_gen.h"
#include "test_support.h"
#include "widgets/message_box.h"
#include "widgets/problems_bar.h"
#include "window_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <memory>

using namespace Qt::StringLiterals;
using K = ParGen_Key;

Q_DECLARE_METATYPE(ParGen_Key)

namespace test {

// A wheel turn of `delta` eighths of a degree with the pointer over `widget`.
inline void Wheel(QWidget *widget, int delta)
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent event(at, QPointF(widget->mapToGlobal(at.toPoint())), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

inline QString Msg(int n)
{
    return Messages().Get(n);
}

// A control of the parameter window found by its object name (an input is
// named after the key it shows); a missing one ends the run.
template <class T> T *Find(const QWidget &window, const QString &name)
{
    T *widget = window.findChild<T *>(name);
    if (!widget)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return widget;
}

// The window's groups from the top: LoRaWAN, BACnet Slave, Ethernet.
inline Category_Panel *Group_Panel(const QWidget &window, int index)
{
    return window.findChild<Category_Panel_Group *>()->Panels().at(index);
}

} // namespace test

class ParGen_Window_Fixture : public Configuration_Fixture
{
protected:
    std::unique_ptr<TFParGen> w_;

    void Set_Up()
    {
        Message_Box::Set_Test_Mode(true);
        New_Workspace();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!ws_.File_ParGen.isEmpty());
        w_ = std::make_unique<TFParGen>(ws_);
    }

    void Tear_Down()
    {
        w_.reset();
        Message_Box::Take_Shown();
        Message_Box::Set_Test_Mode(false);
        Messages().Build_Default_Messages();
    }

    // The window's controls, as the suites reach them.
    QComboBox *Combo(K key) const { return test::Find<QComboBox>(*w_, Key_Name(key)); }
    QLineEdit *Edit(K key) const { return test::Find<QLineEdit>(*w_, Key_Name(key)); }
    QCheckBox *Box(K key) const { return test::Find<QCheckBox>(*w_, Key_Name(key)); }
    QPushButton *Btn_OK() const { return test::Find<QPushButton>(*w_, u"Btn_OK"_s); }
    QPushButton *Btn_Cancel() const { return test::Find<QPushButton>(*w_, u"Btn_Cancel"_s); }
    Problems_Bar *P_Problems() const { return test::Find<Problems_Bar>(*w_, u"P_Problems"_s); }
    // A row's caption label, and the descriptive line under the software code
    // (found by its text).
    QLabel *Label(K key) const { return qobject_cast<QLabel *>(w_->Caption(key)); }
    QLabel *L_SW_Desc() const
    {
        for (QLabel *label : w_->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            if (label->text() == Messages().Get(401))
                return label;
        qFatal("no descriptive line");
    }
    Category_Panel_Group *CPG() const { return w_->findChild<Category_Panel_Group *>(); }
    Category_Panel *CP_LoRa() const { return test::Group_Panel(*w_, 0); }
    Category_Panel *CP_BACnet_Slave() const { return test::Group_Panel(*w_, 1); }
    Category_Panel *CP_Ethernet() const { return test::Group_Panel(*w_, 2); }

    void Write_Doc(const QByteArray &body)
    {
        ::test::Write(ws_.File_ParGen, "<Par_Gen>" + body + "</Par_Gen><!--SW_VERSION = 1.000-->");
    }
    ParGen_Values Saved() const { return Load_ParGen(ws_.File_ParGen); }

    // test::When_Shown, but a window that `act` leaves open (a check that
    // failed midway, or a test that ends there) closes without the question
    // about its changes, which no queued answer would meet. The suites call
    // this one unqualified.
    static void When_Shown(QDialog *dialog, std::function<void()> act)
    {
        test::When_Shown(dialog, [dialog, act] {
            act();
            if (dialog->isVisible())
                dialog->done(QDialog::Rejected);
        });
    }

    // Shows the window and makes it the active one, so that keys move the focus.
    void Show_Active()
    {
        w_->show();
        QApplication::setActiveWindow(w_.get());
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
};
