object Form1: TForm1
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Tarnyx'
  ClientHeight = 768
  ClientWidth = 1024
  Scaled = False
  OnCreate = FormCreate
  object DXDraw: TDXDraw
    Left = 0
    Top = 0
    Width = 1024
    Height = 768
    AutoInitialize = True
    AutoSize = True
    Display.FixedBitCount = True
    Display.FixedRatio = True
    Display.FixedSize = False
    Display.Height = 768
    Display.Width = 1024
    Options = [doFullScreen, doAllowReboot, doWaitVBlank, doCenter, doFlip]
    SurfaceHeight = 768
    SurfaceWidth = 1024
  end
  object DXTimer: TDXTimer
    ActiveOnly = True
    Enabled = True
    Interval = 20
    OnTimer = DXTimerTimer
  end
end
