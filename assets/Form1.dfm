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
  object DXImageList: TDXImageList
    DXDraw = DXDraw
    Items = <
      item
        Name = 'Ship1'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Ship1')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Ship2'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Ship2')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Flame'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Flame')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet100'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet100')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet110'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet110')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet120'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet120')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet130'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet130')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet140'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet140')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet150'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet150')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet160'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet160')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet170'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet170')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet180'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet180')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet190'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet190')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet200'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet200')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Planet400'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Planet400')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Pine'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Pine')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FruitTree'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FruitTree')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Radar'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Radar')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'ControlTower'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/ControlTower')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlashRed'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlashRed')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlashGreen'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlashGreen')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlashBlue'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlashBlue')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlashYellow'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlashYellow')
        SystemMemory = False
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Explosion'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Explosion')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Explosion2'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Explosion2')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Rock1'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Rock1')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Rock2'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Rock2')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'Rock3'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/Rock3')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlagBlue'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlagBlue')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlagGreen'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlagGreen')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlagGray'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlagGray')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlagPink'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlagPink')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'FlagYellow'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/FlagYellow')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'PlanetInfo'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/PlanetInfo')
        SystemMemory = False
        Transparent = False
        TransparentColor = 11382189
      end
      item
        Name = 'B_Res_S'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Res_S')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Res_M'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Res_M')
        SystemMemory = True
        Transparent = False
        TransparentColor = 14606046
      end
      item
        Name = 'B_Vitamin'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Vitamin')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Marmalade'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Marmalade')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Mineral'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Mineral')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Furniture'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Furniture')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Weapons'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Weapons')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Water'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Water')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Ship'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Ship')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Robot'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Robot')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Soldier'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Soldier')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Castle'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Castle')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end
      item
        Name = 'B_Power'
        PatternHeight = 0
        PatternWidth = 0
        Picture.Data = Resource('pictures/B_Power')
        SystemMemory = True
        Transparent = True
        TransparentColor = clFuchsia
      end>
  end
end
