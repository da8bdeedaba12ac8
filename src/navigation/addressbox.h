// AddressBox: the read-only address box ("kezcombobox") whose drop-down is a folder tree.
#pragma once

#include "platform/shellitem.h"

#include <QComboBox>

class FolderTree;
class FolderTreeModel;
class QFrame;

// Shows the current folder: its full path, or for a volume root its display name, five blanks
// and an info tip with the free and total space. The text cannot be typed; the drop-down is a
// tree of folders (kPopupRows rows high) opened on the current folder, and choosing a folder
// there emits folderChosen. User-interface thread only.
class AddressBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kPopupRows = 18;

    AddressBox(FolderTreeModel *model, QWidget *parent = nullptr);

    // Shows the folder's path (the text the box puts there itself).
    void setCurrentFolder(const ShellItem &folder);
    ShellItem currentFolder() const { return m_folder; }
    // Replaces the text for display only (the volume-root form).
    void setDisplayText(const QString &text);
    QString displayText() const { return itemText(0); }

    // The text shown for a volume root: display name, five blanks, info tip.
    static QString volumeRootText(const ShellItem &folder);
    static QString pathText(const ShellItem &folder);

    void showPopup() override;
    void hidePopup() override;
    bool isPopupVisible() const;
    FolderTree *popupTree() const { return m_tree; }

signals:
    void folderChosen(const ShellItem &folder);

private:
    ShellItem m_folder;
    QFrame *m_popup = nullptr;
    FolderTree *m_tree = nullptr;
};
