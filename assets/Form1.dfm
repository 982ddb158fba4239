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
  object DXInput: TDXInput
    ActiveOnly = True
    Joystick.BindInputStates = True
    Joystick.Enabled = True
    Joystick.ForceFeedback = False
    Joystick.AutoCenter = True
    Joystick.DeadZoneX = 50
    Joystick.DeadZoneY = 50
    Joystick.DeadZoneZ = 50
    Joystick.ID = 1
    Joystick.RangeX = 1000
    Joystick.RangeY = 1000
    Joystick.RangeZ = 1000
    Keyboard.BindInputStates = True
    Keyboard.Enabled = True
    Keyboard.ForceFeedback = False
    Keyboard.Assigns = {
      2600000000000000000000002800000000000000000000002500000000000000
      0000000027000000000000000000000044000000000000000000000049000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000071000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      00000000100000000000000000000000}
    Mouse.BindInputStates = False
    Mouse.Enabled = False
    Mouse.ForceFeedback = False
    UseDirectInput = True
  end
end
