object FInput: TFInput
  Left = 200
  Top = 120
  Width = 223
  Height = 126
  AlphaBlend = False
  AlphaBlendValue = 150
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
  Menu = MainMenu1
  PopupMenu = PopupMenu1
  OnCreate = FormCreate
  OnShow = FormShow
  object BStart: TBitBtn
    Left = 11
    Top = 5
    Width = 88
    Height = 25
    Hint = '开始进行语音输入'
    Caption = '开始(&S)'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 0
    OnClick = BStartClick
    Glyph.Data = @BSTARTGLYPH
  end
  object BStop: TBitBtn
    Left = 115
    Top = 5
    Width = 88
    Height = 25
    Hint = '停止当前语音输入'
    Caption = '停止(&P)'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 1
    OnClick = BStopClick
    Glyph.Data = @BSTOPGLYPH
  end
  object BDict: TBitBtn
    Left = 11
    Top = 36
    Width = 88
    Height = 25
    Hint = '语音词典[可添加生僻字词]'
    Caption = '词典(&D)'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 2
    OnClick = BDictClick
    Glyph.Data = @BDICTGLYPH
  end
  object BInformaition: TBitBtn
    Left = 115
    Top = 36
    Width = 88
    Height = 25
    Hint = '软件使用说明'
    Caption = '说明(&I)'
    ParentShowHint = False
    ShowHint = True
    TabOrder = 3
    OnClick = BInformaitionClick
    Glyph.Data = @BINFOGLYPH
  end
  object ProgressBar: TProgressBar
    Left = 0
    Top = 66
    Width = 215
    Height = 14
    Hint = '语音进度条。'
    Align = alBottom
    Min = 0
    Max = 100
    ParentShowHint = False
    ShowHint = True
    Smooth = True
    TabOrder = 4
  end
  object Memo1: TMemo
    Left = 8
    Top = 8
    Width = 33
    Height = 17
    Lines.Strings = (
      '0')
    TabOrder = 5
    Visible = False
  end
  object SpSharedRecoContext: TSpSharedRecoContext
    AutoConnect = False
    ConnectKind = ckRunningOrNew
    OnStartStream = SpSharedRecoContextStartStream
    OnEndStream = SpSharedRecoContextEndStream
    OnSoundStart = SpSharedRecoContextSoundStart
    OnSoundEnd = SpSharedRecoContextSoundEnd
    OnPhraseStart = SpSharedRecoContextPhraseStart
    OnHypothesis = SpSharedRecoContextHypothesis
    OnRecognition = SpSharedRecoContextRecognition
    OnFalseRecognition = SpSharedRecoContextFalseRecognition
    OnInterference = SpSharedRecoContextInterference
    OnRequestUI = SpSharedRecoContextRequestUI
    OnRecognitionForOtherContext = SpSharedRecoContextRecognitionForOtherContext
    OnAudioLevel = SpSharedRecoContextAudioLevel
  end
  object MainMenu1: TMainMenu
    object NFile: TMenuItem
      Caption = '文件(&F)'
      object NSet: TMenuItem
        Caption = '配置说明(&U)'
        OnClick = NSetClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object N6: TMenuItem
        Caption = '麦克风训练(&M)'
        OnClick = N6Click
      end
      object N7: TMenuItem
        Caption = '语音训练向导(&O)'
        OnClick = N7Click
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object NAutoRun: TMenuItem
        Caption = '开机自动运行(&A)'
        OnClick = NAutoRunClick
      end
      object NHandRun: TMenuItem
        Caption = '开机手动运行(&H)'
        OnClick = NHandRunClick
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object Nclose: TMenuItem
        Caption = '关闭(&C)'
        OnClick = NcloseClick
      end
    end
    object NControl: TMenuItem
      Caption = '控制(&C)'
      object NStart: TMenuItem
        Caption = '开始(&S)'
        OnClick = NStartClick
      end
      object N4: TMenuItem
        Caption = '-'
      end
      object NStop: TMenuItem
        Caption = '停止(&P)'
        OnClick = NStopClick
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object D1: TMenuItem
        Caption = '词典(&D)'
        OnClick = D1Click
      end
    end
    object NHelpMenu: TMenuItem
      Caption = '帮助(&H)'
      object Nhelp: TMenuItem
        Caption = '帮助(&H)'
        OnClick = NhelpClick
      end
      object N8: TMenuItem
        Caption = '-'
      end
      object NAbout: TMenuItem
        Caption = '关于(&A)'
        OnClick = NAboutClick
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object NNStart: TMenuItem
      Caption = '开始(&S)'
      OnClick = NNStartClick
    end
    object N9: TMenuItem
      Caption = '-'
    end
    object NNStop: TMenuItem
      Caption = '停止(&P)'
      OnClick = NNStopClick
    end
    object N10: TMenuItem
      Caption = '-'
    end
    object NNvoiceDicts: TMenuItem
      Caption = '词典(&D)'
      OnClick = NNvoiceDictsClick
    end
    object N11: TMenuItem
      Caption = '-'
    end
    object NNAbout: TMenuItem
      Caption = '关于(&A)'
      OnClick = NNAboutClick
    end
  end
  object SkinData1: TSkinData
    Active = True
    SkinStream = @DEFAULTSKIN
  end
end
