#pragma once
// The MDI client: the window an MDI frame form (FormStyle fsMDIForm) keeps
// in its client area, below and beside the frame's aligned controls. MDI
// child forms (fsMDIChild) live in it as framed child windows; their frame
// (caption, icon, border buttons) is drawn by the layer, active in the
// active-caption colours while the child is the active one of an active
// frame.
//
// The client's messages (send them to the frame's ClientHandle):
// - WM_MDIACTIVATE (wParam: the child's window): makes that child the active
//   one, on top of the others. A maximised child hands its state on: the
//   child it gives way to is maximised and it is restored.
// - WM_MDIGETACTIVE: answers the active child's window (0 when none); an
//   lParam other than 0 points to a BOOL that receives whether it is maximised.
// - WM_MDINEXT (wParam: a child's window, 0 for the active one): activates
//   the child below it and sends it to the back; with an lParam other than 0,
//   the bottom child comes forward instead.
// - WM_MDIREFRESHMENU: answers the frame's menu handle. The client sends it to
//   itself (through its window procedure, so that code which subclasses the
//   client sees it) after the list of children, the active child or a
//   child's caption changed: the moment to refresh a window list.
// Every other message is handled as by any windowed control.
//
// A maximised child fills the client area (its frame lies outside it, as on
// the desktop); the frame's title reads "<frame caption> - [<child caption>]"
// and the frame's menu bar shows the child's icon at its left end and its
// minimise, restore and close buttons (those of its border icons) at its
// right end. A minimised child is a caption bar along the client's bottom.
// When the active child or its being maximised changes, the frame gets
// WM_WINDOWPOSCHANGED with SWP_FRAMECHANGED (and SWP_NOMOVE, SWP_NOSIZE,
// SWP_NOZORDER, SWP_NOACTIVATE): its frame's look changed, not its place.
#include <vector>

#include "platform/vcl/Forms.h"

class TMDIClient : public TWinControl {
 public:
  explicit TMDIClient(TCustomForm* Frame);
  ~TMDIClient() override;

  TCustomForm* Frame() const { return FFrame; }
  // The active child; nullptr when none.
  TCustomForm* ActiveChild() const { return FActive; }
  // The shown children, topmost (the active one) first.
  std::vector<TCustomForm*> Children() const;
  // The title the frame's window shows (its caption, with a maximised child's).
  String FrameTitle() const;

  // For the layer (forms and the input routing).
  // A child form came into the client, showed or hid, went, changed state or caption.
  void ChildShowingChanged(TCustomForm* Child);
  void ChildGone(TCustomForm* Child);
  void ChildStateChanged(TCustomForm* Child);
  void ChildTextChanged(TCustomForm* Child);
  // The frame's caption or activation changed.
  void FrameChanged();
  // A press landed in Child: the child becomes active (through WM_MDIACTIVATE).
  void ActivateOnPress(TCustomForm* Child);
  // A child's non-client messages (frame painting, hit test, caption buttons);
  // false for the messages it leaves to the form.
  bool ChildMessage(TCustomForm* Child, TMessage& Message);

 protected:
  void Dispatch(TMessage& Message) override;
  void Resize() override;

 private:
  void Activate(TCustomForm* Child);
  void PickNextActive();
  void PlaceChild(TCustomForm* Child);
  void PaintChildFrame(TCustomForm* Child);
  LRESULT ChildHitTest(TCustomForm* Child, TPoint Screen) const;
  void RefreshLater();
  void UpdateFrame();

  TCustomForm* FFrame;
  TCustomForm* FActive = nullptr;
  TCustomForm* FLeaving = nullptr;  // a child on its way out: no longer listed
  TCustomForm* FPressedChild = nullptr;  // a caption button pressed on this child
  LRESULT FPressedHit = 0;
  bool FRefreshPosted = false;
  // What the frame was last told it shows: the active child and whether it is maximised.
  HWND FShownChild = nullptr;
  bool FShownMaximized = false;
};

// The MDI frame a child form belongs in: the main form when it is an MDI
// frame, else the first MDI frame among the screen's forms; nullptr when none.
TCustomForm* FindMDIFrame();
// The client a form lies in when it is an MDI child; nullptr otherwise.
TMDIClient* MDIClientOf(const TCustomForm* Child);
