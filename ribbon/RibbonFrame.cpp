#include "ribbon/RibbonFrame.h"

#include "platform/rtl/Math.h"

namespace ribbon {

LRESULT RibbonHitTest(TPoint P, Integer Width, Integer Height, bool Vista, Integer BorderWidth, LRESULT Inherited) {
  LRESULT r = Inherited;
  if (P.Y < 3) r = HTTOP;
  if (P.X < 3) r = HTLEFT;
  if (Vista ? P.X > Width - 12 : P.X > Width - BorderWidth - 13) r = HTRIGHT;
  if (Vista ? P.Y > Height - 12 : P.Y > Height - BorderWidth - 13) r = HTBOTTOM;
  if (P.X > Width - 20 && P.Y > Height - 20) r = HTBOTTOMRIGHT;
  if (P.X < 20 && P.Y < 20) r = HTTOPLEFT;
  if (P.X > Width - 20 && P.Y < 20) r = HTTOPRIGHT;
  if (P.X < 20 && P.Y > Height - 20) r = HTBOTTOMLEFT;
  return r;
}

bool RibbonHitTestApplies(bool SubclassAsRibbon, TFormBorderStyle BorderStyle, TWindowState State) {
  // A sizeable form keeps the system's answer.
  return SubclassAsRibbon && BorderStyle != bsSizeable && State == wsNormal;
}

TRect RibbonNCCalcSize(const TRect& Proposed, TFormBorderStyle BorderStyle, bool Maximized, bool ScenicMaximized,
                       Integer FrameCX) {
  TRect R = Proposed;
  switch (BorderStyle) {
    case bsNone:
      break;
    case bsSizeable:
      R.Left += FrameCX - 1;
      R.Right -= FrameCX - 1;
      R.Bottom -= Maximized ? FrameCX + 1 : FrameCX - 1;
      break;
    default:
      R.Left += 3;
      R.Right -= 3;
      if (Maximized && !ScenicMaximized)
        R.Bottom -= BorderStyle == bsSizeToolWin ? 9 : BorderStyle == bsSingle ? 8 : 3;
      else
        R.Bottom -= 3;
      break;
  }
  return R;
}

TRect RibbonAdjustClientRect(const TRect& In, const TRibbonClientState& S) {
  TRect R = In;
  auto inset = [&R](Integer d) {
    R.Left += d;
    R.Top += d;
    R.Right -= d;
    R.Bottom -= d;
  };
  if (S.Tones) {
    R.Left += 2;
    R.Right -= 2;
    R.Bottom -= S.SizeGrip ? 16 : 2;
  } else if (S.Vista) {
    if (S.Glass) {
      R.Left += 1;
      R.Right -= 1;
      if (S.Maximized && !S.ScenicMaximized) R.Top += 6;
    } else if (S.SingleBorder) {
      inset(S.ThickBorder && !S.Maximized ? Integer(Round(3.0 * S.Scale)) : 1);
    }
  } else {
    inset(S.Maximized ? 1 : 5);
  }
  return R;
}

TRibbonMinMaxResult RibbonMinMaxInfo(MINMAXINFO& Info, const TRibbonMinMaxInput& In) {
  TRibbonMinMaxResult res;
  const Integer b = In.Vista ? 0 : 6;
  const TRect& W = In.WorkRect;
  const bool secondaryMax = In.Maximized && !In.Primary;
  if (secondaryMax && (Info.ptMaxSize.X < W.Width() + b || Info.ptMaxSize.Y < W.Height() + b)) {
    res.RememberMax = true;
    res.MaxX = W.Width();
    res.MaxY = W.Height();
    return res;
  }
  if (In.Vista && !In.PerMonitorAware && secondaryMax && In.MonitorPPI > 96) return res;
  const Integer edge = In.Vista ? 0 : 3;
  Info.ptMaxPosition = TPoint{W.Left - In.MonitorRect.Left - edge, W.Top - In.MonitorRect.Top - edge};
  Info.ptMaxSize.X = secondaryMax && !In.Vista ? W.Width() : W.Width() + b;
  Info.ptMaxSize.Y = W.Height() + b;
  const bool plainMax = In.Maximized && !In.ScenicMaximized && !In.Win10;
  if (plainMax && In.BorderStyle == bsNone) Info.ptMaxSize.Y -= 1;
  if (plainMax && In.TaskBarAutoHide) {
    // Leave a strip free so that the hidden task bar can still be reached.
    Info.ptMaxSize.Y -= 4;
    res.RememberMax = true;
    res.MaxY = Info.ptMaxSize.Y;
  }
  res.Changed = true;
  return res;
}

Integer RibbonGlassTopMargin(Integer GlassTabHeight, Integer CaptionHeight, bool Maximized, bool ScenicMaximized) {
  return !Maximized || ScenicMaximized ? GlassTabHeight + CaptionHeight + 3 : CaptionHeight + 9;
}

bool RibbonMaximizeOnDrop(const TDropAtTopInput& In) {
  return In.UserMove && !In.LeftButtonDown && In.CursorClientX <= In.Width - 100 && In.FormTop - In.WorkTop < 20 &&
         !In.NoAutoMax && In.WinArrange;
}

bool RibbonEdgeDoubleClick(Cardinal Now, Cardinal LastClick, Cardinal Interval, Integer ClientY, Integer Height,
                           bool Maximized) {
  if (LastClick == 0 || Now - LastClick >= Interval) return false;
  const bool onEdge = ClientY <= 2 || Height - ClientY <= 2;
  return onEdge && !Maximized;
}

TRect RibbonRegionRect(Integer Width, Integer Height, bool RemoveRegion) {
  if (RemoveRegion) return TRect{};
  return TRect{3, 3, Width - 3, Height - 3};
}

Integer RibbonSideLineLength(Single Scale, Integer CaptionHeight) {
  return Integer(Round(25.0 * Scale)) + CaptionHeight;
}

std::vector<TRect> RibbonSizeGripSquares(Integer R, Integer B) {
  std::vector<TRect> squares;
  Integer y = B;
  for (Integer n = 4; n >= 1; --n, y -= 3)
    for (Integer k = 0; k < n; ++k) squares.push_back(TRect{R - 3 * k - 2, y - 2, R - 3 * k, y});
  return squares;
}

namespace {

bool IsShadowClass(const String& Name) {
  // The class name is read into a buffer of 255 characters.
  constexpr size_t MaxClassName = 255;
  return Name.substr(0, MaxClassName) == u"SysShadow";
}

}  // namespace

HWND FindSysShadow(const std::vector<TShadowCandidate>& Windows, TPoint FormTopLeft) {
  for (const TShadowCandidate& w : Windows) {
    if (!w.Visible || !IsShadowClass(w.ClassName)) continue;
    if (w.WindowRect.Left == FormTopLeft.X && w.WindowRect.Top == FormTopLeft.Y) return w.Handle;
  }
  return nullptr;
}

HWND KeepSysShadow(HWND Remembered, const std::vector<TShadowCandidate>& Windows) {
  if (Remembered == nullptr) return nullptr;
  for (const TShadowCandidate& w : Windows)
    if (w.Handle == Remembered) return w.Visible && IsShadowClass(w.ClassName) ? Remembered : nullptr;
  return nullptr;
}

}  // namespace ribbon
