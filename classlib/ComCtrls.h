// Common controls: the progress bar and the status bar with its panels.  Both keep their
// state (range, position, panels, texts) while there is no window and give it to the
// window when one is made.  The rich edit is in RichEdit.h.
//
// Types: TProgressBarOrientation, TProgressBar, TStatusPanelStyle, TStatusPanelBevel,
//        TStatusPanel, TStatusPanels, TCustomStatusBar, TStatusBar, TDrawPanelEvent.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "Controls.h"
#include "StdCtrls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };
extern const TEnumNames ProgressBarOrientationNames;

class TProgressBar : public TWinControl {
    CLASS_INFO(TProgressBar)
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int v) { SetRange(v, max_); }
    int Max() const { return max_; }
    void SetMax(int v) { SetRange(min_, v); }
    void SetRange(int min, int max);
    // Read from the window while it has one (StepIt and StepBy move it there).
    int Position();
    void SetPosition(int v);
    int Step() const { return step_; }
    void SetStep(int v);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation o);
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    void SaveHandleContents() override;

private:
    int clamp(int v) const;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
};

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
extern const TEnumNames StatusPanelStyleNames;
extern const TEnumNames StatusPanelBevelNames;

class TStatusPanels;
class TCustomStatusBar;

// One part of a status bar; stored as an item of the bar's Panels.
class TStatusPanel : public TCollectionItem {
    CLASS_INFO(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

    const std::string& Text() const { return text_; }
    void SetText(const std::string& t);
    int Width() const { return width_; }
    void SetWidth(int w);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel b);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    void Assign(const TPersistent& source) override;

private:
    void changed(bool allPanels);
    std::string text_;
    int width_ = 50;
    TStatusPanelStyle style_ = psText;
    TStatusPanelBevel bevel_ = pbLowered;
    TAlignment alignment_ = taLeftJustify;
};

class TStatusPanels : public TCollection {
    CLASS_INFO(TStatusPanels)
public:
    explicit TStatusPanels(TCustomStatusBar& bar);
    TStatusPanel* Items(int i) const { return static_cast<TStatusPanel*>(TCollection::Items(i)); }
    TStatusPanel* operator[](int i) const { return Items(i); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TCustomStatusBar& StatusBar() const { return bar_; }

private:
    friend class TStatusPanel;
    void panelChanged(TStatusPanel* panel, bool allPanels) { Update(allPanels ? nullptr : panel); }
    TCustomStatusBar& bar_;
};

using TDrawPanelEvent = std::function<void(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const RECT& Rect)>;

class TCustomStatusBar : public TWinControl {
    CLASS_INFO(TCustomStatusBar)
public:
    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    TStatusPanels& Panels() { return *panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& t);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);
    TCanvas& Canvas() { return canvas_; }

    TDrawPanelEvent OnDrawPanel;

    void WndProc(TMessage& message) override;

protected:
    friend class TStatusPanels;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleContents() override;
    virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);
    // Part edges from the panel widths (the last part runs to the end), then every text.
    void updatePanels();
    void updatePanelText(int index);
    void onDrawItem(const DRAWITEMSTRUCT& item);

    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
    TCanvas canvas_;
};

class TStatusBar : public TCustomStatusBar {
    CLASS_INFO(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};
