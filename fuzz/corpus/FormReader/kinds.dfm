object Form1: TForm1
  Caption = 'It''s'#32'a '#$74'est' +
    ' across lines'
  Tag = -$7F
  Left = 12
  Visible = False
  Cursor = crNone
  WindowState = wsNormal
  object DXTimer: TDXTimer
    ActiveOnly = False
    Enabled = False
    Interval = 4294967295
    OnActivate = FormCreate
    OnTimer = DXTimerTimer
    Tag = 1.5e3
  end
end
