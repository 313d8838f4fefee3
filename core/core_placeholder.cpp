namespace snibbet { void CoreLinked() {} }
