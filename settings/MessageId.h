#pragma once

namespace valdora {

/// The rows of the message table by name. The value is the row's offset within a language block
/// (0..287): English row 300 + offset, French 1300 + offset, German 2300 + offset. The comment after
/// each name is its English row number.
enum class MessageId : int {
    // General and start-up.
    SupportRequest = 0,      // 300, names the support address
    Ok,                      // 301
    Cancel,                  // 302
    MoreAt,                  // 303
    Help,                    // 304
    EmailUs = 6,             // 306
    AlreadyRunning,          // 307
    OpenDatabaseFirst,       // 308
    RunHostFirst,            // 309
    HostEventsNotRegistered, // 310
    RestartHostOrRegister,   // 311
    MakerPageMenuItem,       // 312

    // Integration dialog and editor menus.
    IntegrateTitle,        // 313
    LaunchOptions,         // 314
    RemoveToolbarIcon,     // 315
    AddToolbarIcon,        // 316
    IntegrateClose,        // 317
    RemoveToolsMenuItem,   // 318
    AddToolsMenuItem,      // 319
    RestartHostForChanges, // 320
    RestartHostNow,        // 321
    IntegrationFailed,     // 322
    ClickToLaunch,         // 323
    SoftwarePage,          // 324
    OptionsMenu,           // 325
    LanguagesMenu,         // 326
    IntegrateMenu,         // 327
    HelpMenu,              // 328
    OnlineHelpMenu,        // 329

    // Loading, online help and language.
    LoadingPleaseWait = 45, // 345
    OnlineHelpPage,         // 346
    LanguageTitle = 48,     // 348
    PickYourLanguage,       // 349

    // Run and editor messages.
    TruncateDigitsMissing = 53, // 353
    SaveContactBeforeUsing,     // 354, ends in a blank
    InvalidButtonData,          // 355
    ContactLockedTail,          // 356, begins with ")"
    ConsultErrorLog,            // 357
    CouldNotWrite,              // 358
    ToField,                    // 359
    ConfirmDeleteButton,        // 360
    SchemeMissing,              // 361
    SchemeNotOnScreen,          // 362
    ProceedAnyway,              // 363
    CaptionMissing,             // 364
    CaptionTaken,               // 365
    ChooseAnotherCaption,       // 366
    TargetFieldMissing,         // 367
    StartAtEmpty,               // 368
    CheckedCondition,           // 369
    ScopeCurrentContact,        // 370
    ScopeCurrentLookup,         // 371
    ScopeAllContacts,           // 372
    ConditionWithoutOperator,   // 373
    NoConditionChecked,         // 374
    NoButtonChecked,            // 375
    CheckedItemNumber,          // 376

    // Integration views, bar tips, editor messages.
    ToolbarViews,            // 377
    ViewContacts,            // 378, the first of the six host views
    ViewContactList,         // 379
    ViewGroups,              // 380
    ViewTaskList,            // 381
    ViewCalendars,           // 382
    ViewEmail,               // 383
    ClickToEdit,             // 384
    ClickToRun,              // 385
    ToolsMenuViews,          // 386
    ItemWithoutButton,       // 387
    AppendSeparatorRejected, // 388
    Placeholder389,          // 389, "-" in every language
    Placeholder390,          // 390
    Placeholder391,          // 391
    Placeholder392,          // 392

    // Start-up options and tray menu.
    SystemTrayTitle,         // 393
    StartWithBar,            // 394
    StartInTray,             // 395
    CloseToTrayExitWithHost, // 396
    StartupOptions,          // 397
    CloseOption,             // 398
    TrayShowBar,             // 399
    TrayClose,               // 400

    // Editor messages, start-up options, field options.
    TextValueRejected = 109,     // 409
    NonNumericSeparatorRejected, // 410
    ProblemWithValueNumber,      // 411
    InvalidValueRejected,        // 412
    DateRejected,                // 413
    SelectTimeOnly,              // 414
    SeparatorInDateField,        // 415
    AutoNumberInDateField,       // 416
    CalculationCannotBeDate,     // 417
    DateFormatRejected,          // 418
    UrlTargetField,              // 419
    InvalidDataCheckSettings,    // 420
    TargetFieldTypeOpen,         // 421, ends in "("
    TargetFieldTypeIncompatible, // 422, begins with ")"
    DatabaseLocked,              // 423
    StartOptionWithBar,          // 424
    StartOptionInTray,           // 425
    CloseOptionToTray,           // 426
    KeepOnlyFirst,               // 427
    Digits,                      // 428
    ConvertToUppercase,          // 429

    // Editor captions.
    ButtonCaption,                 // 430
    TargetField,                   // 431
    SelectScheme,                  // 432
    SchemeAutoNumber,              // 433
    SchemeCondition,               // 434
    SchemeAddSubtract,             // 435
    SchemeMultiplyDivide,          // 436
    SchemeNow,                     // 437
    SchemeCombo,                   // 438
    OverwritingConditions,         // 439
    TenCharactersMax,              // 440
    ValueToCopy,                   // 441
    CombineButtons,                // 442
    AutoNumberIntroduction,        // 443
    Position,                      // 444
    StartAt,                       // 445
    AutoNumberField,               // 446
    AutoNumberText,                // 447
    AutoNumberSeparator,           // 448
    OutputPreview,                 // 449
    LeadingZerosHint,              // 450
    FieldOptionsButton,            // 451
    NeverOverwrite,                // 452
    AppendWithSeparator,           // 453
    OverwriteUnlessEmpty,          // 454
    AlwaysOverwrite,               // 455
    AddButton,                     // 456
    Apply,                         // 457
    New,                           // 458, the caption of an empty bar slot
    ConditionIf,                   // 459
    ConditionThen,                 // 460
    ConditionValue,                // 461
    ConditionOr,                   // 462
    InvalidCalculationReplacement, // 463
    LeaveBlankForNoData,           // 464
    DateAndTimeNow,                // 465
    Format,                        // 466
    DateOnly,                      // 467
    DateAndTime,                   // 468
    TimeOnly,                      // 469
    ComboOrderNote,                // 470

    // Miscellaneous, Age scheme, scope.
    SystemTrayMenu,           // 471
    ZeroNotValid,             // 472
    RestartValdoraForChanges, // 473
    ContactNotReachable,      // 474
    IgnoreWhileDefiningField, // 475
    EmailErrorReport,         // 476, followed by the support address
    ComboMemberMissing,       // 477
    AgeBetweenTodayAnd,       // 478
    AgeYearsOnly,             // 479
    AgeYearsAndMonths,        // 480
    AgeDays,                  // 481
    AgeIfNotDate,             // 482
    AgeIfNoData,              // 483
    Years,                    // 484
    Months,                   // 485
    EmptyInsteadOfZero,       // 486
    NextContactAndBack,       // 487
    Scope,                    // 488
    ThisDatabaseOnly,         // 489
    AllDatabases,             // 490

    // Automatic triggering and confirmation.
    AutomaticTriggering,      // 491
    SettingsButton,           // 492
    WarningOptions,           // 493
    PromptForConfirmation,    // 494
    OneSecondSplash,          // 495
    NoWarning,                // 496
    TwoWaysToFire,            // 497
    ManualMode,               // 498
    ManualModeExplained,      // 499
    AutomaticMode,            // 500
    AutomaticModeExplained,   // 501
    TriggerSetupExplained,    // 502
    LaunchKeelbrook,          // 503
    LaunchKeelbrookExplained, // 504
    ManualStillPossible,      // 505
    AutoUpdateFollowingField, // 506
    ProceedQuestion,          // 507
    Yes,                      // 508
    No,                       // 509
    ConfirmationNoteHead,     // 510, ends in a blank
    AutomaticUpdateTitle,     // 511

    // Automatic runner messages.
    Updating = 214,             // 514
    MissingButtonHead,          // 515, "The button "
    MissingButtonTail,          // 516, " does not exist."
    ChangeTriggerSettingsHead,  // 517
    ChangeTriggerSettingsField, // 518, " field"
    ChangeTriggerSettingsTail,  // 519
    UpgradeNotResaved,          // 520
    IncompleteUpgrade,          // 521
    ButtonSuffix,               // 522, " button."

    // Trigger utility.
    ChooseDatabase,                // 523
    LogonDatabase,                 // 524
    UserName,                      // 525
    Password,                      // 526
    CancelForOtherDatabase,        // 527
    TriggerConflictQuestion,       // 528
    AddToQueue,                    // 529
    Overwrite,                     // 530
    ActiveDatabase,                // 531
    TriggersOfDatabase,            // 532
    AddATrigger,                   // 533
    RemoveTrigger,                 // 534
    DatabaseLabel,                 // 535
    FieldLabel,                    // 536
    TriggerTypeLabel,              // 537
    TriggerEntry,                  // 538
    TriggerExit,                   // 539
    TriggeredTargetLabel,          // 540
    ProgramOrMacro,                // 541
    BrowseForProgram,              // 542
    ValdoraButton,                 // 543
    CreateTrigger,                 // 544
    AddTriggerTitle,               // 545
    ConflictCheckingTitle,         // 546
    LoginTitle,                    // 547
    TriggerReportTitle,            // 548
    CloseHostBeforeKeelbrook,      // 549
    ReportFieldColumn,             // 550
    ReportTargetColumn,            // 551
    DeleteTriggerHead,             // 552
    DeleteTriggerMiddle,           // 553
    TriggeredButtonHead,           // 554
    TriggeredButtonDatabaseLocked, // 555
    CannotUpdateTarget,            // 556
    CannotRegisterHostEvents,      // 557
    DatabaseNotReopened,           // 558

    // Trigger syntax, bar menu, scopes, settings file.
    ManualOrAutomatic,           // 559
    SettingsTitle,               // 560
    ManualTriggerSetup,          // 561
    CopySyntax,                  // 562
    CloseValdoraForDefineFields, // 563
    TriggerSyntaxTitle,          // 564
    BarMenuSettings,             // 565
    BarMenuTriggerSyntax,        // 566
    BarMenuColor,                // 567
    BarMenuBold,                 // 568
    BarMenuDeleteButton,         // 569
    BarMenuShowBar,              // 570
    BarMenuClose,                // 571
    NoItemSelected,              // 572
    TruncateFieldData,           // 573
    AutoNumberSchemeTitle,       // 574
    SchemeAge,                   // 575
    ApplyToCurrentContact = 277, // 577
    ApplyToCurrentLookup,        // 578
    ApplyToAllContacts,          // 579
    ApplyTo,                     // 580
    AutoNumberSortOrder,         // 581
    AutoNumberSortExplained,     // 582
    CannotBeUndone,              // 583
    FieldOptionsTitle,           // 584
    ChangeDefaultLocation,       // 585, not in Keelbrook's copy
    SettingsFileLocation = 287,  // 587, not in Keelbrook's copy
};

/// The English row number of a message (300..587); the French and German rows lie 1000 and 2000 above.
constexpr int englishNumber(MessageId id)
{
    return 300 + static_cast<int>(id);
}

} // namespace valdora
