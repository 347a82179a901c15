#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "core/deep_pixels.h"
#include "core/packed_dib.h"
#include "core/photo_save.h"
#include "core/trim_frame.h"

class CMainFrame;

// One open photo, its gray renderings and the trimming frame's position. The document owns
// its pictures; its views repaint when it says so.
class CMorvaneDoc : public QObject {
    Q_OBJECT
  public:
    enum ViewMode { kTrueColor = 0, kGray1786 = 1, kGray4336 = 2 };

    explicit CMorvaneDoc(CMainFrame* frame);

    // An empty document named after the document type and a running number.
    void OnNewDocument();
    // Loads the photo at path; false (and nothing changed) when it does not load, with the
    // decoder's reason in *reason when asked.
    bool OnOpenDocument(const QString& path, QString* reason = nullptr);
    // Writes in the format the name's ending gives: as JPEG what is on show, cut to the
    // trimming frame, at the main frame's compress ratio; as 16-bit gray PNG or TIFF the
    // photo's luminance in the same frame. False for a name of no format Morvane writes.
    bool OnSaveDocument(const QString& path);

    // The picture the view paints, the copy copies and the save writes.
    const corvelle::PackedDib* GetDisplayImage() const;
    bool HasPhoto() const { return m_hPhoto.has_value(); }
    // Takes over a decoded photo as if it had been opened, with its 16-bit channels when
    // its file had them.
    void SetPhoto(corvelle::PackedDib photo, std::optional<corvelle::DeepPixels> deep = {});

    void OnGray1786();
    void OnGray4336();
    void OnTrueColor();
    void OnEditCopy();

    // The trimming frame in picture coordinates, as saving and copying cut it.
    corvelle::DibRect TrimFrame() const;
    corvelle::TrimOffset TrimOffset() const { return {m_nTrimOffsetX, m_nTrimOffsetY}; }
    void SetTrimOffset(corvelle::TrimOffset offset);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    const QString& GetTitle() const { return m_strTitle; }
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);

    // Asks every view of the document to repaint.
    void UpdateAllViews();

    CMainFrame* mainFrame() const { return m_pFrame; }

    std::optional<corvelle::PackedDib> m_hPhoto;
    std::optional<corvelle::PackedDib> m_hGray1786;
    std::optional<corvelle::PackedDib> m_hGray4336;
    // Kept beside m_hPhoto, for the 16-bit gray files only; filtered along with it.
    std::optional<corvelle::DeepPixels> m_deepPhoto;
    int m_nViewMode = kTrueColor;
    int m_nTrimOffsetX = 0;
    int m_nTrimOffsetY = 0;

  signals:
    void viewsNeedRepaint();
    void titleChanged();

  private:
    void ShowRendering(ViewMode mode);

    CMainFrame* m_pFrame;
    bool m_bModified = false;
    QString m_strTitle;
    QString m_strPathName;
};
