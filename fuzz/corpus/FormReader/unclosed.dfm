object Form1: TForm1
  object DXTimer: TDXTimer
    Interval = 20
  object Other: TDXTimer
