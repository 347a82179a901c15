#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "core/packed_dib.h"
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
    // Loads the JPEG at path; false (and nothing changed) when it does not load, with the
    // decoder's reason in *reason when asked.
    bool OnOpenDocument(const QString& path, QString* reason = nullptr);
    // Writes what is on show, cut to the trimming frame, at the main frame's compress ratio.
    bool OnSaveDocument(const QString& path);

    // The picture the view paints, the copy copies and the save writes.
    const corvelle::PackedDib* GetDisplayImage() const;
    bool HasPhoto() const { return m_hPhoto.has_value(); }
    // Takes over a decoded photo as if it had been opened.
    void SetPhoto(corvelle::PackedDib photo);

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
