object Form1: TForm1
  object Thing: TDXTimer
    Options = [doFullScreen, doFlip]
    Data = {
      0A1B2C3D
      4e5f}
    Items = <
      item
        Name = 'Ship'
        Picture.Data = Resource('Form1.dfm')
      end
      item
        Inner = <item X = 1 end>
      end>
    Colour = clFuchsia
  end
end
