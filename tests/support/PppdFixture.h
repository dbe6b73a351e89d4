#pragma once
// pppd's files for a fixture tree: every path below one folder, the homes of pppd's users too, so that no
// test reads the machine's own.
#include "core/platform/linux/PppdLink.h"

inline PppdFiles PppdFilesBelow(const QString& root)
{
    PppdFiles files;
    files.procDir = root + "/proc";
    files.runDir = root + "/run";
    files.lockDir = root + "/run/lock";
    files.peersDir = root + "/peers";
    files.options = root + "/options";
    files.homeOf = [root](uint uid) { return root + "/home/" + QString::number(uid); };
    files.devDir = root + "/dev";
    files.papSecrets = root + "/pap-secrets";
    files.chapSecrets = root + "/chap-secrets";
    files.sysClassNet = root + "/sys";
    files.pppd = root + "/pppd";
    return files;
}
