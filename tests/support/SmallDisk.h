#pragma once
// A real full file system for a test, as root: the test runs itself again under `unshare -m`, where its
// mounts are its own and end with it, and there mounts a small tmpfs that it fills.
#include <QString>
#include <QTemporaryDir>

#include <memory>

// True in that rerun. Elsewhere it runs the calling test again in a private mount namespace and gives
// false: the rerun's result counts, or the test is skipped with a message where that is not allowed.
bool InPrivateMounts();

// A tmpfs of a few pages over `folder` (hiding what it held) while the object lives. Thin: an ext2 file
// system of 8 MB there instead, its image on such a tmpfs, so that a write fills the page cache and only
// the sync finds no room (as on a thin volume or a network disk).
class SmallDisk {
public:
    enum Kind { Tmpfs, Thin };
    explicit SmallDisk(const QString& folder, Kind kind = Tmpfs, int kilobytes = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    // Takes every byte left, then gives them back.
    void fill();
    void free();

private:
    QString m_folder;
    std::unique_ptr<QTemporaryDir> m_image; // the thin disk's tmpfs
    QString m_filled;                       // the tmpfs that fill() fills
    bool m_mounted = false;
};
