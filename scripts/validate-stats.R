# Part of scripts/validate-stats: recomputes the tests of mirado-cli stats in R from the
# session means of mirado-cli summary and compares them.
#   Rscript validate-stats.R SUMMARY.csv GROUPS.csv|- STATS.csv
# Prints a Markdown table (one row per measure and test) and quits with status 1 when a
# value differs by more than 1e-6 relative or is missing on one side only.
suppressPackageStartupMessages(library(afex))
args <- commandArgs(trailingOnly = TRUE)
summary <- read.csv(args[1], colClasses = c(study_no = "character", animal_no = "character",
                                            date = "character"))
stats <- read.csv(args[3], colClasses = c(session = "character", group = "character",
                                          control = "character", term = "character"))
summary$id <- paste(summary$study_no, summary$animal_no, sep = "/")
if (args[2] == "-") {
  summary$group <- "(none)"
  groupOrder <- "(none)"
} else {
  groups <- read.csv(args[2], colClasses = "character", encoding = "UTF-8")
  key <- paste(groups$study_no, groups$animal_no, sep = "/")
  summary$group <- ifelse(summary$id %in% key, groups$group[match(summary$id, key)], "(none)")
  groupOrder <- unique(c(groups$group, if (any(summary$group == "(none)")) "(none)"))
}
control <- groupOrder[1]
sessions <- sort(unique(summary$date))
tolerance <- 1e-6

relative <- function(ours, theirs) {
  if (is.na(ours) && is.na(theirs)) return(0)
  if (is.na(ours) || is.na(theirs)) return(Inf)
  if (ours == theirs) return(0)
  abs(ours - theirs) / max(abs(theirs), .Machine$double.xmin)
}

rows <- list()
failed <- FALSE
compare <- function(measure, test, ours, theirs) {
  differences <- mapply(relative, ours, theirs)
  worst <- max(differences)
  if (worst > tolerance) failed <<- TRUE
  rows[[length(rows) + 1]] <<- data.frame(measure = measure, test = test,
                                          values = length(differences), max_rel = worst)
}

anovaReference <- function(data, measure) {
  complete <- names(which(tapply(!is.na(data$value), data$id, sum) == length(sessions)))
  data <- data[data$id %in% complete, ]
  data$session <- factor(paste0("s", match(data$date, sessions)))
  data$group <- factor(data$group)
  between <- if (nlevels(data$group) > 1) "group" else NULL
  fit <- suppressWarnings(suppressMessages(
    aov_ez("id", "value", data, between = between, within = "session")))
  table <- anova(fit, es = "ges", correction = "none")
  corrections <- suppressWarnings(summary(fit)$pval.adjustments)
  terms <- sub("group:session", "group:session", rownames(table))
  result <- data.frame(term = terms, df_num = table[["num Df"]], df_den = table[["den Df"]],
                       F = table[["F"]], p = table[["Pr(>F)"]], ges = table[["ges"]],
                       gg_epsilon = NA, p_gg = NA, hf_epsilon = NA, p_hf = NA)
  for (i in seq_along(terms)) {
    if (terms[i] %in% rownames(corrections) && !is.null(corrections)) {
      result$gg_epsilon[i] <- corrections[terms[i], "GG eps"]
      result$p_gg[i] <- corrections[terms[i], "Pr(>F[GG])"]
      result$hf_epsilon[i] <- corrections[terms[i], "HF eps"]
      result$p_hf[i] <- corrections[terms[i], "Pr(>F[HF])"]
    } else if (terms[i] != "group" && length(sessions) == 2) {
      result[i, c("gg_epsilon", "hf_epsilon")] <- 1
      result[i, c("p_gg", "p_hf")] <- result$p[i]
    }
  }
  result
}

welchReference <- function(data, measure) {
  result <- data.frame()
  for (date in sessions) {
    y <- data$value[data$date == date & data$group == control & !is.na(data$value)]
    for (g in setdiff(groupOrder, control)) {
      x <- data$value[data$date == date & data$group == g & !is.na(data$value)]
      test <- tryCatch(t.test(x, y, var.equal = FALSE), error = function(e) NULL)
      result <- rbind(result, data.frame(
        session = date, group = g,
        t = if (is.null(test)) NA else unname(test$statistic),
        df = if (is.null(test)) NA else unname(test$parameter),
        p = if (is.null(test)) NA else test$p.value))
    }
  }
  result$p_holm <- p.adjust(result$p, method = "holm")
  result
}

fields <- c("df_num", "df_den", "F", "p", "ges", "gg_epsilon", "p_gg", "hf_epsilon", "p_hf")
for (measure in c("sbp", "mbp", "dbp", "hr")) {
  data <- data.frame(id = summary$id, group = summary$group, date = summary$date,
                     value = summary[[paste0(measure, "_mean")]])
  if (all(is.na(data$value))) next
  ours <- stats[stats$measure == measure & stats$test == "anova", ]
  theirs <- anovaReference(data, measure)
  if (nrow(ours) != nrow(theirs) || !all(ours$term == theirs$term)) failed <- TRUE
  compare(measure, "anova", unlist(ours[match(theirs$term, ours$term), fields]),
          unlist(theirs[, fields]))
  if (length(groupOrder) > 1) {
    ours <- stats[stats$measure == measure & stats$test == "welch", ]
    theirs <- welchReference(data, measure)
    at <- match(paste(theirs$session, theirs$group), paste(ours$session, ours$group))
    if (any(is.na(at)) || nrow(ours) != nrow(theirs)) failed <- TRUE
    compare(measure, "welch", unlist(ours[at, c("t", "df", "p", "p_holm")]),
            unlist(theirs[, c("t", "df", "p", "p_holm")]))
  }
}
table <- do.call(rbind, rows)
cat("| measure | test | values compared | max. relative difference |\n")
cat("|---|---|---:|---:|\n")
for (i in seq_len(nrow(table)))
  cat(sprintf("| %s | %s | %d | %.3g |\n", table$measure[i], table$test[i], table$values[i],
              table$max_rel[i]))
cat(sprintf("\nMaximum relative difference: %.3g (%s)\n\n", max(table$max_rel),
            if (failed) "FAILS the 1e-6 limit" else "within 1e-6"))
quit(status = if (failed) 1 else 0)
