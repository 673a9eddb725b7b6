object FInput: TFInput
  Left = 200
  Top = 120
  Width = 223
  Height = 126
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSizeToolWin
  Caption = 'Chattuck(已开始)'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clRed
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  object SkinData1: TSkinData
    Active = True
    SkinStream = @DEFAULTSKIN
  end
end
