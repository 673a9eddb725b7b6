object FWord: TFWord
  Left = 200
  Top = 120
  Width = 234
  Height = 240
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Dormel(已开始)'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  FormStyle = fsStayOnTop
  object SkinData1: TSkinData
    Active = True
    SkinStream = @DEFAULTSKIN
  end
end
