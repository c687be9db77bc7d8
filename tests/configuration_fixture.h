#pragma once

// A configuration in a temporary folder, for the suites that write its
// documents and open it: the paths alone, or a workspace started as the
// program starts it.

#include "workspace/configurations.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace test {

// A workspace holding only the paths of the configuration `name`, an empty
// folder of `projects`; false when the folder could not be made.
inline bool Open_Configuration_In(Workspace &ws, const QString &projects, const QString &name)
{
    ws = Workspace{};
    ws.Path_Projects = projects;
    ws.Open_Configuration(name);
    return QDir().mkpath(ws.Path_Project);
}

// The configuration "Plant" in `dir`, which is the program's folder as well.
inline void Open_In(Workspace &ws, const QString &dir)
{
    QVERIFY(Open_Configuration_In(ws, dir, QStringLiteral("Plant")));
    ws.Path_Exe = dir;
}

} // namespace test

// A folder of its own for each test that calls one of the New_ functions.
class Configuration_Fixture : public QObject
{
protected:
    std::unique_ptr<QTemporaryDir> dir_;
    Workspace ws_;

    // The paths of the configuration "Plant" in a new folder (test::Open_In);
    // the test writes the documents it reads.
    void New_Configuration()
    {
        if (New_Folder())
            test::Open_In(ws_, dir_->path());
    }

    // A workspace started in a new folder, with the configuration "Plant"
    // created and open.
    void New_Workspace()
    {
        if (!New_Folder())
            return;
        ws_ = Workspace{};
        Start_Workspace(ws_, dir_->path());
        QVERIFY(Create_Configuration(ws_, QStringLiteral("Plant")).Ok());
    }

private:
    bool New_Folder()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        return QTest::qVerify(dir_->isValid(), "dir_->isValid()", "", __FILE__, __LINE__);
    }
};
